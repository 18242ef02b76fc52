// Header clicks on the result lists, over records as their workers leave
// them.

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTableView>

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "session/column_sort.h"
#include "content_model.h"
#include "display/result_display.h"
#include "record_builders.h"
#include "recording_host.h"

namespace display {
namespace {

// The columns the tests click.
constexpr int kUserName = 0, kFullName = 1, kLogons = 2, kLastLogon = 3;
constexpr int kDirectory = 0, kSize = 1, kUsage = 3, kUsed = 4;

class ColumnSortTest : public ::testing::Test {
 protected:
  // The Users list as the worker leaves it (ctime dates, "Never", the
  // fixed-width logon count).
  void browseUsers() {
    struct Row {
      const char* name;
      const char* fullName;
      const char* logons;
      const char* lastLogon;
    };
    const Row users[] = {
        {"alice", "zz", "         7", "Sat Apr 15 12:00:00 2000 "},
        {"bob", "Yy", "        12", "Mon Jan 10 12:00:00 2005 "},
        {"Carol", "xx", "         0", "Never"},
        {"dave", "Ww", "         3", "Fri Dec 31 12:00:00 1999 "},
        {"erin", "vv", "       100", "Tue Feb 15 12:00:00 2000 "},
    };
    std::vector<display_test::UserRow> rows;
    for (const Row& u : users) rows.push_back({u.name});
    auto holder = display_test::userHolder(rows);
    for (std::size_t i = 0; i < std::size(users); ++i) {
      dlgthreads::UserRecord& r = holder.records()[i];
      r.fullName = users[i].fullName;
      r.logons = users[i].logons;
      r.lastLogon = users[i].lastLogon;
    }
    display_test::fillBlock(m_display, dlgthreads::WorkKind::Users,
                            [&](dlgthreads::WorkerBlock& b) { b.users = std::move(holder); });
  }

  // What the user does: a click on the header of the list.
  void click(DisplayType type, int column) {
    emit m_host.listView(type)->horizontalHeader()->sectionClicked(column);
  }

  std::vector<std::string> column(DisplayType type, int col = 0) {
    const QAbstractItemModel& model = *m_host.listView(type)->model();
    std::vector<std::string> texts;
    for (int r = 0; r < model.rowCount(); ++r)
      texts.push_back(model.index(r, col).data().toString().toStdString());
    return texts;
  }

  using Names = std::vector<std::string>;

  display_test::RecordingHost m_host;
  ResultDisplay m_display{m_host, IconSet{}};
};

TEST_F(ColumnSortTest, UsersSortByTextAndDateColumnsAndEveryThirdClickStartsOver) {
  m_display.setUpColumns(DisplayType::Users);
  browseUsers();
  const Names gathered = column(DisplayType::Users);
  ASSERT_EQ(gathered.size(), 5u);

  // Names whose letters differ in case only sort as one letter.
  click(DisplayType::Users, kUserName);
  EXPECT_EQ(column(DisplayType::Users), (Names{"alice", "bob", "Carol", "dave", "erin"}));
  click(DisplayType::Users, kUserName);
  EXPECT_EQ(column(DisplayType::Users), (Names{"erin", "dave", "Carol", "bob", "alice"}));
  click(DisplayType::Users, kUserName);
  EXPECT_EQ(column(DisplayType::Users), (Names{"alice", "bob", "Carol", "dave", "erin"}));

  // The newest logon first, then the oldest first; "Never" is later than any
  // year, and April comes after February although its name sorts before.
  click(DisplayType::Users, kLastLogon);
  EXPECT_EQ(column(DisplayType::Users), (Names{"Carol", "bob", "alice", "erin", "dave"}));
  click(DisplayType::Users, kLastLogon);
  EXPECT_EQ(column(DisplayType::Users), (Names{"dave", "erin", "alice", "bob", "Carol"}));

  // Another column's first click sorts it the first way, whatever came before.
  click(DisplayType::Users, kFullName);
  EXPECT_EQ(column(DisplayType::Users), (Names{"erin", "dave", "Carol", "bob", "alice"}));
  // The fixed-width logon count sorts as a number.
  click(DisplayType::Users, kLogons);
  EXPECT_EQ(column(DisplayType::Users), (Names{"Carol", "dave", "alice", "bob", "erin"}));

  // A new fill shows the worker's order; the click memory stays.
  browseUsers();
  EXPECT_EQ(column(DisplayType::Users), gathered);
  click(DisplayType::Users, kLogons);
  EXPECT_EQ(column(DisplayType::Users), (Names{"erin", "bob", "alice", "dave", "Carol"}));
}

TEST_F(ColumnSortTest, ServerFlagsGroupTheMarkedFirstAndUnorderedColumnsKeepTheRows) {
  dlgthreads::RecordHolder<dlgthreads::ServerRecord> servers;
  servers.allocate(10);
  const std::vector<std::pair<std::string, bool>> rows = {
      {"S1", false}, {"S2", true}, {"S3", false}, {"S4", true}, {"S5", false}};
  for (const auto& [name, dc] : rows) {
    dlgthreads::ServerRecord& r = *servers.append();
    r.name = name;
    r.typeFlags[3] = dc ? 1 : 0;  // word 6, the "DC" column
    r.version = name == "S3" ? "3.51" : "4.0";
  }
  servers.finish();
  m_display.setUpColumns(DisplayType::Servers);
  display_test::fillBlock(m_display, dlgthreads::WorkKind::Servers,
                          [&](dlgthreads::WorkerBlock& b) { b.servers = std::move(servers); });

  constexpr int kDc = 5;
  constexpr int kVersion = 24;
  click(DisplayType::Servers, kDc);
  // The marked rows first, each group in the order it had.
  EXPECT_EQ(column(DisplayType::Servers), (Names{"S2", "S4", "S1", "S3", "S5"}));
  click(DisplayType::Servers, kDc);
  EXPECT_EQ(column(DisplayType::Servers), (Names{"S1", "S3", "S5", "S2", "S4"}));
  click(DisplayType::Servers, kVersion);
  EXPECT_EQ(column(DisplayType::Servers), (Names{"S1", "S3", "S5", "S2", "S4"}));
}

TEST_F(ColumnSortTest, QuotasSortNumbersAsNumbersAndLeaveUsedKbAlone) {
  dlgthreads::RecordHolder<dlgthreads::QuotaRecord> quotas;
  quotas.allocate(10);
  for (const auto& [dir, size, usage] : std::vector<std::tuple<std::string, unsigned, unsigned>>{
           {"D:\\b", 900, 50}, {"D:\\a", 10000, 5}, {"d:\\C", 80, 99}}) {
    dlgthreads::QuotaRecord& r = *quotas.append();
    r.name = dir;
    r.size = size;
    r.usage = usage;
    r.status = "ok";
  }
  quotas.finish();
  m_display.setUpColumns(DisplayType::Quotas);
  display_test::fillBlock(m_display, dlgthreads::WorkKind::Quotas,
                          [&](dlgthreads::WorkerBlock& b) { b.quotas = std::move(quotas); });

  click(DisplayType::Quotas, kSize);
  EXPECT_EQ(column(DisplayType::Quotas), (Names{"d:\\C", "D:\\b", "D:\\a"}));
  click(DisplayType::Quotas, kSize);
  EXPECT_EQ(column(DisplayType::Quotas), (Names{"D:\\a", "D:\\b", "d:\\C"}));
  click(DisplayType::Quotas, kUsed);
  EXPECT_EQ(column(DisplayType::Quotas), (Names{"D:\\a", "D:\\b", "d:\\C"}));
  click(DisplayType::Quotas, kDirectory);
  EXPECT_EQ(column(DisplayType::Quotas), (Names{"D:\\a", "D:\\b", "d:\\C"}));
  click(DisplayType::Quotas, kUsage);
  EXPECT_EQ(column(DisplayType::Quotas), (Names{"D:\\a", "D:\\b", "d:\\C"}));
}

// A sort with a comparison that is no ordering may crash or lose rows: every
// pair of date texts, odd ones included, must compare both ways alike and
// transitively.
TEST(DateOrder, IsAStrictOrderOverDatesSerialNumbersAndOtherTexts) {
  const std::vector<std::string> texts = {
      "Sat Jan  1 00:00:00 2000 ", "Tue Feb 15 12:00:00 2000 ", "Sat Apr 15 12:00:00 2000 ",
      "Sat Apr 15 12:00:01 2000 ", "Mon Jan 10 08:00:00 2005 ", "Never", "", "N", "Sat Xyz",
      "36526.000000", "25568.999988", "9"};
  for (const auto& a : texts) {
    EXPECT_EQ(sorting::compareDates(a, a), 0) << a;
    for (const auto& b : texts) {
      EXPECT_EQ(sorting::compareDates(a, b), -sorting::compareDates(b, a)) << a << " | " << b;
      for (const auto& c : texts) {
        if (sorting::compareDates(a, b) < 0 && sorting::compareDates(b, c) < 0) {
          EXPECT_LT(sorting::compareDates(a, c), 0) << a << " | " << b << " | " << c;
        }
      }
    }
  }
}

}  // namespace
}  // namespace display
