#include "eventlog/event_report.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/lab/lab_backend.h"
#include "../support/lab_fixture.h"
#include "platform/eventlog.h"
#include "resources/strings.h"

namespace eventlog {
namespace {

std::vector<platform::EventRecord> localLog() {
  std::vector<platform::EventRecord> records;
  EXPECT_EQ(platform::ReadEventLog("", &records), 0u);
  return records;
}

TEST(EventReport, FiveEventsReadBackExactly) {
  lab::test::LabFixture lab("servers-domain");
  ASSERT_TRUE(lab) << lab.error();
  struct Row {
    std::string text;
    platform::DWORD id;
    const char* expected;
    const char* meaning;  // the string-table text of the id
  };
  const Row rows[] = {
      {userAddedText("jdoe"), kEventUserAdded, "User Added:   jdoe", "Attempt to add user"},
      {userDeletedText("jdoe"), kEventUserDeleted, "User Deleted:   jdoe",
       "Attempt to delete user"},
      {groupAddedText("Sales", false), kEventGroupAdded, "Global Group Added:   Sales",
       "Attempt to add group"},
      {groupDeletedText("Sales"), kEventGroupDeleted, "Group Deleted:   Sales",
       "Attempt to delete group"},
      {autoExportFailedText(), kEventAutoExportFailed, "BAD command line options:   ",
       "File named could not be created while creating automatic export."},
  };
  for (const Row& row : rows) reportEvent(row.text, row.id);

  const auto log = localLog();
  ASSERT_EQ(log.size(), std::size(rows));
  for (std::size_t i = 0; i < log.size(); ++i) {
    SCOPED_TRACE(rows[i].expected);
    EXPECT_EQ(log[i].source, "Veltrane");
    EXPECT_EQ(log[i].type, platform::EVENTLOG_INFORMATION_TYPE);
    EXPECT_EQ(log[i].category, 0);
    EXPECT_EQ(log[i].eventId, rows[i].id);
    EXPECT_EQ(log[i].strings, std::vector<std::string>{rows[i].expected});
    EXPECT_EQ(res::loadString(rows[i].id), rows[i].meaning);
  }
  // Written to the machine the program runs on, nowhere else.
  std::vector<platform::EventRecord> pdc;
  ASSERT_EQ(platform::ReadEventLog("\\\\PDC", &pdc), 0u);
  EXPECT_TRUE(pdc.empty());
}

TEST(EventReport, LocalGroupText) {
  EXPECT_EQ(groupAddedText("Printers", true), "Local Group Added:   Printers");
  EXPECT_EQ(userAddedText(""), "User Added:   ");
}

TEST(EventReport, SourceThatCannotBeRegisteredIsIgnored) {
  lab::test::LabFixture lab("servers-domain");
  ASSERT_TRUE(lab) << lab.error();
  ASSERT_TRUE(lab->refuseOperation("WKS", "RegisterEventSource", platform::ERROR_ACCESS_DENIED));
  reportEvent(userAddedText("jdoe"), kEventUserAdded);
  EXPECT_TRUE(localLog().empty());
}

// A log that takes the source but refuses every record.
class RefusingLog final : public lab::LabEventLog {
 public:
  using LabEventLog::LabEventLog;
  platform::BOOL ReportEvent(platform::HANDLE, platform::WORD, platform::WORD, platform::DWORD,
                             const std::vector<std::string>&) override {
    ++reports;
    return 0;
  }
  platform::BOOL DeregisterEventSource(platform::HANDLE log) override {
    ++released;
    return LabEventLog::DeregisterEventSource(log);
  }
  int reports = 0;
  int released = 0;
};

TEST(EventReport, FailedReportIsIgnoredAndTheSourceReleased) {
  lab::test::LabFixture lab("servers-domain");
  ASSERT_TRUE(lab) << lab.error();
  auto backend = std::make_shared<RefusingLog>(lab.shared());
  platform::ScopedBackend scope(lab::makeLabBackend(lab.shared(), backend));
  reportEvent(groupDeletedText("Sales"), kEventGroupDeleted);
  EXPECT_EQ(backend->reports, 1);
  EXPECT_EQ(backend->released, 1);
  EXPECT_TRUE(localLog().empty());
}

}  // namespace
}  // namespace eventlog
