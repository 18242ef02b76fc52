#include "dlgthreads/group_worker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <future>
#include <string>
#include <vector>

#include "dlgthreads/worker_thread.h"
#include "engine_lab.h"

namespace dlgthreads {
namespace {

using namespace std::chrono_literals;
using testing::EngineLab;

struct Line {
  std::string name, comment, third;
  friend bool operator==(const Line&, const Line&) = default;
};

// The lines written; for a finished browse exactly those before the end record.
std::vector<Line> linesOf(const WorkerBlock& block) {
  std::vector<Line> out;
  for (const GroupRecord& r : block.groups.withEnd()) {
    if (r.name == "END_OF_DATA") break;
    out.push_back({r.name, r.comment, r.third});
  }
  return out;
}

// The lines of one group: its own line and the member lines after it.
std::vector<std::string> membersOf(const std::vector<Line>& lines, const std::string& group) {
  std::vector<std::string> out;
  for (const Line& l : lines) {
    if (l.name == group && l.third.find("_CONTAINER") == std::string::npos) out.push_back(l.third);
  }
  return out;
}

bool hasLine(const std::vector<Line>& lines, const Line& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

void showMembers(WorkerBlock& b, bool domainNames) {
  b.state.settings.g_show_members = 1;
  b.state.settings.g_show_domain_name = domainNames ? 1 : 0;
}

class GroupWorker : public EngineLab {};

TEST_F(GroupWorker, LocalThenGlobalGroupsWithMembers) {
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\PDC",
                   [](WorkerBlock& b) { showMembers(b, true); });
  const auto lines = linesOf(*block);
  EXPECT_TRUE(hasLine(lines, {"Administrators", "Members can fully administer",
                              "AAALOCAL_GROUP_CONTAINER"}));
  EXPECT_EQ(membersOf(lines, "Administrators"),
            (std::vector<std::string>{"LAB\\Administrator", "LAB\\Domain Admins"}));
  EXPECT_TRUE(hasLine(lines, {"Staff", "Everyone on the payroll", "AAGROUP_CONTAINER"}));
  EXPECT_TRUE(hasLine(lines, {"Staff", "Everyone on the payroll", "alice"}));
  EXPECT_EQ(membersOf(lines, "Staff"), (std::vector<std::string>{"alice", "bob"}));
  // Every local group comes before the first global group.
  auto firstGlobal = std::find_if(lines.begin(), lines.end(),
                                  [](const Line& l) { return l.third == "AAGROUP_CONTAINER"; });
  EXPECT_TRUE(std::none_of(firstGlobal, lines.end(), [](const Line& l) {
    return l.third == "AAALOCAL_GROUP_CONTAINER";
  }));
  ASSERT_EQ(block->groups.withEnd().size(), lines.size() + 1);
  EXPECT_EQ(block->groups.withEnd().back().name, "END_OF_DATA");
  EXPECT_EQ(handOvers(), 1u);
  EXPECT_TRUE(messages().empty());
  const auto status = statusTexts();
  ASSERT_FALSE(status.empty());
  EXPECT_EQ(status.front(), "Group 1.");
}

TEST_F(GroupWorker, BareMemberNamesWithoutDomainNames) {
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\PDC",
                   [](WorkerBlock& b) { showMembers(b, false); });
  EXPECT_EQ(membersOf(linesOf(*block), "Administrators"),
            (std::vector<std::string>{"Administrator", "Domain Admins"}));
}

TEST_F(GroupWorker, WithoutMembersOneLinePerGroup) {
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\PDC");
  const auto lines = linesOf(*block);
  EXPECT_TRUE(std::all_of(lines.begin(), lines.end(), [](const Line& l) {
    return l.third == "AAGROUP_CONTAINER" || l.third == "AAALOCAL_GROUP_CONTAINER";
  }));
  EXPECT_TRUE(hasLine(lines, {"Staff", "Everyone on the payroll", "AAGROUP_CONTAINER"}));
  EXPECT_TRUE(hasLine(lines, {"Users", "Ordinary users", "AAALOCAL_GROUP_CONTAINER"}));
  // Exactly the groups the server has, plus the end record.
  platform::NetBuffer buf;
  platform::DWORD read = 0, total = 0, resume = 0;
  platform::NetLocalGroupEnum("\\\\PDC", 1, buf, platform::MAX_PREFERRED_LENGTH, &read, &total,
                              nullptr);
  const auto locals = read;
  platform::NetGroupEnum("\\\\PDC", 2, buf, platform::MAX_PREFERRED_LENGTH, &read, &total, &resume);
  EXPECT_EQ(lines.size(), locals + read);
  EXPECT_EQ(block->groups.withEnd().size(), lines.size() + 1);
}

TEST_F(GroupWorker, NoGlobalGroupsGivesTheErrorLineAfterTheLocalGroups) {
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\FS",
                   [](WorkerBlock& b) { showMembers(b, true); });
  const auto lines = linesOf(*block);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_TRUE(hasLine(lines, {"Backup Team", "Runs the backups", "AAALOCAL_GROUP_CONTAINER"}));
  EXPECT_TRUE(hasLine(lines, {"Backup Team", "Runs the backups", "LAB\\bob"}));
  EXPECT_EQ(lines.back().name, "ERROR : Could not enumerate domain.");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                          [](const Line& l) { return l.name.starts_with("ERROR"); }),
            1);
}

// A server that refuses the enumerations for a reason other than rights
// (here it cannot be reached) is reported once, with its status, so the
// lone error line is not all the user learns.
TEST_F(GroupWorker, AnUnreachableServerIsReportedOnceWithItsStatus) {
  ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetLocalGroupEnum", platform::ERROR_BAD_NETPATH));
  ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetGroupEnum", platform::ERROR_BAD_NETPATH));
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\PDC",
                   [](WorkerBlock& b) { showMembers(b, true); });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "The groups of the requested server could not be read.\nError number : 53");
  EXPECT_EQ(shown[0].caption, "");  // the program's title
  const auto lines = linesOf(*block);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].name, "ERROR : Could not enumerate domain.");

  // A member server without global groups answers with success: no message.
  run(gatherGroups, WorkKind::Groups, "\\\\FS", [](WorkerBlock& b) { showMembers(b, true); });
  EXPECT_TRUE(messages().empty());
}

struct RefusalRow {
  const char* operation;
  const char* message;
  bool errorLine;  // the global groups are then missing too
};

class GroupRefusal : public EngineLab, public ::testing::WithParamInterface<RefusalRow> {};

TEST_P(GroupRefusal, ReportsEachRefusedCallAndContinues) {
  const RefusalRow& row = GetParam();
  ASSERT_TRUE(m_lab->refuseOperation("PDC", row.operation, platform::ERROR_ACCESS_DENIED));
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\PDC",
                   [](WorkerBlock& b) { showMembers(b, true); });
  const auto shown = messages();
  ASSERT_FALSE(shown.empty());
  for (const auto& m : shown) {
    EXPECT_EQ(m.text, row.message);
    EXPECT_EQ(m.caption, "Fatal Error");
  }
  const auto lines = linesOf(*block);
  EXPECT_EQ(!lines.empty() && lines.back().name.starts_with("ERROR"), row.errorLine);
  EXPECT_EQ(block->groups.withEnd().back().name, "END_OF_DATA");
  EXPECT_EQ(handOvers(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, GroupRefusal,
    ::testing::Values(
        RefusalRow{"NetLocalGroupEnum", "Insufficient rights", false},
        RefusalRow{"NetLocalGroupGetMembers", "Insufficient rights to read Local\ngroup members.",
                   false},
        RefusalRow{"NetGroupEnum", "Insufficient rights to read Global\ngroup information.", true},
        RefusalRow{"NetGroupGetUsers", "Insufficient rights to read Global\ngroup members.",
                   false}));

// The array is sized before anything is read: global groups from the display
// query (a million when it cannot give them all at once), plus the local
// groups' total even though the small estimate call returns only a few of
// them (doubled instead when that call fails), plus 10.
struct EstimateRow {
  const char* refused;  // operation refused with access denied, or nullptr
  bool millionGlobals;
  bool doubled;
};

class GroupEstimate : public EngineLab, public ::testing::WithParamInterface<EstimateRow> {};

TEST_P(GroupEstimate, SizesTheArrayFromTheCounts) {
  lab::GeneratorOptions options;
  options.users = 50;
  options.groups = 30;
  options.localGroups = 40;
  m_lab = lab::generateLab(options);
  useBackend(lab::makeLabBackend(m_lab));
  std::string pdc;
  ASSERT_EQ(platform::NetGetDCName({}, {}, &pdc), platform::NERR_Success);

  platform::NetBuffer buf;
  platform::DWORD read = 0, total = 0, resume = 0;
  platform::NetLocalGroupEnum(pdc, 1, buf, platform::MAX_PREFERRED_LENGTH, &read, &total,
                              nullptr);
  const std::size_t locals = read;
  platform::NetGroupEnum(pdc, 2, buf, platform::MAX_PREFERRED_LENGTH, &read, &total, &resume);
  const std::size_t globals = read;
  platform::NetLocalGroupEnum(pdc, 1, buf, 600, &read, &total, nullptr);
  ASSERT_LT(read, locals);  // the small estimate call returns only some of them

  const EstimateRow& row = GetParam();
  if (row.refused) {
    ASSERT_TRUE(m_lab->refuseOperation(pdc.substr(2), row.refused, platform::ERROR_ACCESS_DENIED));
  }
  auto block = run(gatherGroups, WorkKind::Groups, pdc);
  const std::size_t first = row.millionGlobals ? 1000000 : globals;
  const std::size_t estimate = row.doubled ? first * 2 : first + locals;
  EXPECT_EQ(block->groups.capacity(), estimate + 10);
}

INSTANTIATE_TEST_SUITE_P(Rows, GroupEstimate,
                         ::testing::Values(EstimateRow{nullptr, false, false},
                                           EstimateRow{"NetQueryDisplayInformation", true, false},
                                           EstimateRow{"NetLocalGroupEnum", false, true}));

// Local groups are numbered by their position, global groups by the lines
// written so far (their own line and every member line before it included).
TEST_F(GroupWorker, ProgressNumbersLocalGroupsByPositionAndGlobalGroupsByLines) {
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\PDC",
                   [](WorkerBlock& b) { showMembers(b, true); });
  const auto lines = linesOf(*block);
  std::vector<std::string> expected;
  int localGroups = 0;
  for (std::size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].third == "AAALOCAL_GROUP_CONTAINER") {
      expected.push_back("Group " + std::to_string(++localGroups) + ".");
    } else if (lines[i].third == "AAGROUP_CONTAINER") {
      expected.push_back("Group " + std::to_string(i + 1) + ".");
    }
  }
  ASSERT_GT(localGroups, 0);
  ASSERT_GT(expected.size(), static_cast<std::size_t>(localGroups));
  ASSERT_GT(membersOf(lines, "Administrators").size(), 0u);  // member lines count too
  EXPECT_EQ(statusTexts(), expected);
}

TEST_F(GroupWorker, FirstAllocationFailureFallsBackToLessMemory) {
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\PDC", [](WorkerBlock& b) {
    showMembers(b, true);              // asks for a million lines
    b.groups.setAllocationLimit(100000);  // the fallback size still fits
  });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Allocation of memory error.\nWill attempt to continue using less memory.");
  EXPECT_EQ(shown[0].caption, "Veltrane Error");
  EXPECT_GT(block->groups.count(), 0);
  EXPECT_EQ(block->groups.capacity(), 100000u);
}

TEST_F(GroupWorker, SecondAllocationFailureEndsWithNoRecords) {
  auto block = run(gatherGroups, WorkKind::Groups, "\\\\PDC",
                   [](WorkerBlock& b) { b.groups.setAllocationLimit(5); });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[1].text, "Insufficient memory");
  EXPECT_EQ(shown[1].caption, "Fatal Error");
  EXPECT_FALSE(block->groups.hasArray());
  EXPECT_EQ(block->groups.count(), 0);
  EXPECT_EQ(handOvers(), 1u);  // the display still clears its busy state
}

TEST_F(GroupWorker, StopInTheMiddleEndsTheThreadWithoutHandOver) {
  auto host = std::make_shared<testing::TestHost>();
  std::promise<void> reached;
  std::promise<void> go;
  auto goFuture = go.get_future().share();
  host->setStatusHook([&, goFuture, once = std::make_shared<std::once_flag>()](const std::string&) {
    std::call_once(*once, [&] { reached.set_value(); });
    goFuture.wait();
  });
  auto block = testing::makeBlock(WorkKind::Groups, host, "\\\\PDC");
  block->state.settings.g_show_members = 1;
  ResetWork(WorkKind::Groups);
  WorkerThread thread;
  ASSERT_TRUE(thread.start(block, gatherGroups).started);
  reached.get_future().wait();  // the worker is inside its first "Group 1."
  thread.stop();
  go.set_value();
  EXPECT_TRUE(thread.waitFor(5s));
  EXPECT_FALSE(thread.running());
  EXPECT_TRUE(host->finished().empty());
  // It left at its next check, long before the global groups.
  const auto lines = linesOf(*block);
  EXPECT_TRUE(std::none_of(lines.begin(), lines.end(),
                           [](const Line& l) { return l.third == "AAGROUP_CONTAINER"; }));
}

}  // namespace
}  // namespace dlgthreads
