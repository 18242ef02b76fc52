#include "dlgthreads/user_worker.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <map>
#include <string>

#include "dlgthreads/date_text.h"
#include "dlgthreads/worker_thread.h"
#include "engine_lab.h"
#include "platform/lab/lab_backend.h"

namespace dlgthreads {
namespace {

using namespace std::chrono_literals;
using namespace platform;
using testing::EngineLab;

std::map<std::string, UserRecord> byName(const WorkerBlock& block) {
  std::map<std::string, UserRecord> out;
  for (const UserRecord& r : block.users.records()) out[r.name] = r;
  return out;
}

void fullMode(WorkerBlock& b, bool traverse) {
  b.state.settings.u_quick_viewing = 0;
  b.state.settings.traverse_search = traverse ? 1 : 0;
}

class UserWorker : public EngineLab {};

// The two controllers list their accounts in different orders and the
// backup controller lacks alice: logons must still go to the right account.
TEST_F(UserWorker, MergesLogonsAcrossControllersByAccountName) {
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { fullMode(b, true); });
  auto users = byName(*block);
  ASSERT_EQ(users.size(), 4u);
  EXPECT_EQ(block->users.count(), 4);
  EXPECT_EQ(block->state.recordCount, 4);
  EXPECT_EQ(block->users.withEnd()[4].name, "END_OF_DATA");

  struct Expected {
    const char* name;
    const char* logons;
    std::uint32_t lastLogon;  // 0 = never
    const char* loggedOn;
  };
  for (const Expected& e : {
           // Latest logon from the backup controller, latest logoff from the PDC (earlier).
           Expected{"Administrator", "        15", 1000100000, "Yes"},
           Expected{"alice", "         3", 1000000000, "Yes"},
           Expected{"bob", "         9", 1000200000, "Yes"},
           Expected{"carol", "         0", 0, "No"},
       }) {
    SCOPED_TRACE(e.name);
    const UserRecord& r = users.at(e.name);
    EXPECT_EQ(r.logons, e.logons);
    EXPECT_EQ(r.lastLogon, e.lastLogon ? dateText(e.lastLogon) : "Never");
    EXPECT_EQ(r.loggedOn, e.loggedOn);
    EXPECT_EQ(r.loggedOnFlag, std::string(e.loggedOn) == "Yes" ? 1u : 0u);
  }
  EXPECT_EQ(handOvers(), 1u);
  EXPECT_TRUE(messages().empty());
}

// A controller that does not answer keeps its own logon figures to itself:
// the rows come from the other, and the administrator is told which one
// is missing rather than shown short figures as whole.
TEST_F(UserWorker, AControllerThatDoesNotAnswerIsNamedAndTheOthersFiguresShown) {
  ASSERT_TRUE(m_lab->refuseOperation("SDC", "NetUserEnum", platform::ERROR_BAD_NETPATH));
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { fullMode(b, true); });
  EXPECT_EQ(byName(*block).size(), 4u);
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].text.find("\\\\SDC (error 53)"), std::string::npos) << shown[0].text;
  EXPECT_EQ(shown[0].text.find("PDC"), std::string::npos) << shown[0].text;
}

TEST_F(UserWorker, ProgressTexts) {
  run(gatherUsers, WorkKind::Users, "\\\\PDC", [](WorkerBlock& b) { fullMode(b, true); });
  const auto status = statusTexts();
  ASSERT_GE(status.size(), 3u);
  EXPECT_EQ(status[0], "Retrieving # servers & users");
  EXPECT_EQ(status[1], "Server(s) 2 Users 4.");
  EXPECT_EQ(status[2], "Server:1 user:0");
  EXPECT_EQ(status.back(), "Server:2 user:2");  // the backup controller knows three accounts
}

TEST_F(UserWorker, WithoutTraverseOnlyTheSelectedServerIsRead) {
  auto block = run(gatherUsers, WorkKind::Users, "\\\\SDC",
                   [](WorkerBlock& b) { fullMode(b, false); });
  auto users = byName(*block);
  EXPECT_EQ(users.size(), 3u);  // the backup controller does not know alice
  EXPECT_EQ(users.count("alice"), 0u);
  EXPECT_EQ(users.at("Administrator").logons, "         5");
  EXPECT_EQ(users.at("Administrator").lastLogon, dateText(1000100000));
  EXPECT_EQ(users.at("bob").logons, "         2");

  block = run(gatherUsers, WorkKind::Users, "\\\\PDC", [](WorkerBlock& b) { fullMode(b, false); });
  users = byName(*block);
  EXPECT_EQ(users.at("Administrator").logons, "        10");
  EXPECT_EQ(users.at("Administrator").loggedOn, "No");  // logged off after the PDC logon
  EXPECT_EQ(statusTexts()[1], "Server(s) 1 Users 4.");
}

TEST_F(UserWorker, FullModeColumns) {
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { fullMode(b, false); });
  auto users = byName(*block);
  const UserRecord& alice = users.at("alice");
  EXPECT_EQ(alice.fullName, "Alice Archer");
  EXPECT_EQ(alice.acctExpires, "Sun Sep  9 01:46:40 2001 ");
  EXPECT_EQ(alice.disabled, "No");
  EXPECT_EQ(alice.hasPassword, "Yes");
  EXPECT_EQ(alice.maxStorage, "      5000");
  EXPECT_EQ(alice.profile, "\\\\FS\\profiles\\alice");
  EXPECT_EQ(alice.script, "logon.bat");
  EXPECT_EQ(alice.pwExpires, "Never");
  EXPECT_EQ(alice.lockedOut, "No");
  EXPECT_EQ(alice.pwExpired, "No");
  EXPECT_EQ(alice.cannotChangePw, "No");
  EXPECT_EQ(alice.comment, "Accounts department");
  EXPECT_EQ(alice.homeDrive, "H:");
  EXPECT_EQ(alice.homeDir, "\\\\FS\\users\\alice");
  EXPECT_EQ(alice.pwLastSet.size(), 25u);
  EXPECT_EQ(alice.pwLastSet.back(), ' ');
  EXPECT_EQ(alice.rasAllowed, "Yes");
  EXPECT_EQ(alice.callbackNumber, "555-0100");
  EXPECT_EQ(alice.callbackType, "Admin.Preset");

  const UserRecord& bob = users.at("bob");
  EXPECT_EQ(bob.disabled, "Yes");
  EXPECT_EQ(bob.lockedOut, "Yes");
  EXPECT_EQ(bob.acctExpires, "Never");
  EXPECT_EQ(bob.pwExpires, "Yes");
  EXPECT_EQ(bob.maxStorage, "        -1");  // unlimited

  const UserRecord& carol = users.at("carol");
  EXPECT_EQ(carol.pwExpired, "Yes");
  EXPECT_EQ(carol.cannotChangePw, "Yes");
  EXPECT_EQ(carol.profile, "*None*");
  EXPECT_EQ(carol.script, "*None*");
  EXPECT_EQ(carol.lastLogon, "Never");
  EXPECT_EQ(carol.loggedOn, "No");
  EXPECT_EQ(carol.rasAllowed, "No");
  EXPECT_EQ(carol.callbackType, "User defined");
}

TEST_F(UserWorker, DatesAsSerialDayNumbers) {
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC", [](WorkerBlock& b) {
    fullMode(b, false);
    b.state.settings.x_date_as_integer = 1;
  });
  auto users = byName(*block);
  EXPECT_EQ(users.at("bob").acctExpires, "25568.999988");  // never expires
  EXPECT_EQ(users.at("carol").lastLogon, "25569.000000");  // never logged on, in UTC
  EXPECT_EQ(users.at("alice").acctExpires, serialDayText(1000000000, false));
}

TEST_F(UserWorker, QuickModeFillsOnlyItsColumns) {
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { b.state.settings.u_quick_viewing = 1; });
  ASSERT_EQ(block->users.count(), 4);
  EXPECT_EQ(statusTexts()[1], "Server(s) 1 Users 4.");
  for (const UserRecord& r : block->users.records()) {
    SCOPED_TRACE(r.name);
    for (int w : {3, 4, 5, 7, 8, 9, 10, 12, 13, 16, 17, 18, 20, 21, 22, 23}) {
      EXPECT_EQ(r.text(w), "") << "word " << w;
    }
    EXPECT_EQ(r.loggedOnFlag, 0u);
    EXPECT_FALSE(r.name.empty());
  }
  const auto users = byName(*block);
  EXPECT_EQ(users.at("alice").fullName, "Alice Archer");
  EXPECT_EQ(users.at("alice").pwExpires, "Never");
  EXPECT_EQ(users.at("alice").comment, "Accounts department");
  EXPECT_EQ(users.at("bob").disabled, "Yes");
  EXPECT_EQ(users.at("carol").cannotChangePw, "Yes");

  block = run(gatherUsers, WorkKind::Users, "\\\\PDC", [](WorkerBlock& b) {
    b.state.settings.u_quick_viewing = 1;
    b.state.settings.u_description = 0;
    b.state.settings.u_pass_expires = 0;
  });
  for (const UserRecord& r : block->users.records()) {
    EXPECT_EQ(r.comment, "");
    EXPECT_EQ(r.pwExpires, "");
  }
}

TEST_F(UserWorker, RefusedCountUsesTheEstimateAndSaysSo) {
  ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetQueryDisplayInformation",
                                     platform::ERROR_ACCESS_DENIED));
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { fullMode(b, false); });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text,
            "You do not have sufficient rights\non the requested server.\n Not all information "
            "can be returned.");
  EXPECT_EQ(shown[0].caption, "Insufficient Security Rights");
  EXPECT_EQ(statusTexts()[1], "Server(s) 1 Users 100000.");
  // The records are the accounts actually read, not 100,000 empty rows.
  EXPECT_EQ(block->users.count(), 4);
}

TEST_F(UserWorker, QuickModeReadFailureMessages) {
  ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetQueryDisplayInformation",
                                     platform::ERROR_ACCESS_DENIED));
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { b.state.settings.u_quick_viewing = 1; });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 3u);
  EXPECT_EQ(shown[1].text, "An error has occurred while retrieving data");
  EXPECT_EQ(shown[1].caption, "Message");
  EXPECT_EQ(shown[1].icon, ui::Icon::Error);
  EXPECT_EQ(shown[2].text, "Insufficient permission to access user data");
  EXPECT_EQ(block->users.count(), 0);
  EXPECT_EQ(block->users.withEnd().size(), 1u);  // just the end record
}

// Counting works; the quick read itself is refused with another status.
class QuickReadRefused : public lab::LabAccounts {
 public:
  using LabAccounts::LabAccounts;
  NET_API_STATUS NetQueryDisplayInformation(std::string_view server, DWORD level, DWORD index,
                                            DWORD requested, DWORD length, DWORD* returned,
                                            NetBuffer& buf) override {
    if (requested != 10000) return ERROR_INVALID_LEVEL;
    return LabAccounts::NetQueryDisplayInformation(server, level, index, requested, length, returned,
                                              buf);
  }
};

TEST_F(UserWorker, QuickModeInvalidLevel) {
  useBackend(lab::makeLabBackend(m_lab, std::make_shared<QuickReadRefused>(m_lab)));
  run(gatherUsers, WorkKind::Users, "\\\\PDC",
      [](WorkerBlock& b) { b.state.settings.u_quick_viewing = 1; });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "An error has occurred while retrieving data");
  EXPECT_EQ(shown[1].text, "Invalid LEVEL <internal>.");
  EXPECT_EQ(shown[1].caption, "Message");
}

TEST_F(UserWorker, UncountableServerEndsWithoutAnArray) {
  ASSERT_TRUE(
      m_lab->refuseOperation("PDC", "NetQueryDisplayInformation", platform::ERROR_BAD_NETPATH));
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { fullMode(b, true); });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].text.find("Error number : 53"), std::string::npos);
  EXPECT_EQ(shown[0].caption, "Fatal Error");
  EXPECT_FALSE(block->users.hasArray());
  EXPECT_EQ(block->state.recordCount, 0);
  EXPECT_EQ(handOvers(), 1u);
}

TEST_F(UserWorker, AllocationFailure) {
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC", [](WorkerBlock& b) {
    fullMode(b, false);
    b.users.setAllocationLimit(10);  // four accounts need 4 + 10 + 1
  });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Error allocating memory for users.");
  EXPECT_EQ(shown[0].caption, "Fatal Error");
  EXPECT_EQ(shown[0].icon, ui::Icon::Error);
  EXPECT_FALSE(block->users.hasArray());
  EXPECT_EQ(handOvers(), 1u);
}

struct ServerListRow {
  platform::DWORD status;
  bool message;
};

class ServerListRefused : public EngineLab,
                          public ::testing::WithParamInterface<ServerListRow> {};

TEST_P(ServerListRefused, FallsBackToTheLocalMachinesList) {
  ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetServerEnum", GetParam().status));
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { fullMode(b, true); });
  const auto shown = messages();
  if (GetParam().message) {
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].text,
              "You do not have sufficient rights.\nAttempting to continue using local machine.\n");
    EXPECT_EQ(shown[0].caption, "Error");
  } else {
    EXPECT_TRUE(shown.empty());
  }
  // The local machine knows the same two controllers.
  EXPECT_EQ(statusTexts()[1], "Server(s) 2 Users 4.");
  EXPECT_EQ(byName(*block).at("Administrator").logons, "        15");
}

INSTANTIATE_TEST_SUITE_P(Rows, ServerListRefused,
                         ::testing::Values(ServerListRow{platform::ERROR_ACCESS_DENIED, true},
                                           ServerListRow{platform::ERROR_REQ_NOT_ACCEP, false}));

// A plain user may count the accounts but not read their details: no
// controller answers the full read, so the browse ends with no rows (not
// with rows of empty records), and says why instead of passing for an
// empty domain.
TEST_F(UserWorker, PlainUserGetsNoRowsFromTheFullReadAndIsToldWhy) {
  m_lab->logOn("LAB\\alice");
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { fullMode(b, true); });
  EXPECT_EQ(statusTexts()[1], "Server(s) 2 Users 4.");
  EXPECT_EQ(block->users.count(), 0);
  EXPECT_EQ(block->state.recordCount, 0);
  EXPECT_EQ(block->users.withEnd().back().name, "END_OF_DATA");
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown[0].text.find("Error number : 5"), std::string::npos) << shown[0].text;
  EXPECT_NE(shown[0].text.find("Quick view"), std::string::npos) << shown[0].text;
  EXPECT_EQ(shown[0].caption, "");  // the program's title
  EXPECT_EQ(shown[0].icon, ui::Icon::Error);
  EXPECT_EQ(handOvers(), 1u);

  // Quick mode needs only display information, which a plain user may read.
  block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
              [](WorkerBlock& b) { b.state.settings.u_quick_viewing = 1; });
  EXPECT_EQ(block->users.count(), 4);
}

// The dial-in library answers a call-back type it should not, or fails.
class OddDialIn : public lab::LabDialin {
 public:
  using LabDialin::LabDialin;
  int GetRASQuick(std::string_view, std::string_view account, DWORD* permission,
                  std::string* number, DWORD* type) override {
    if (account == "carol") return 0;
    *permission = 1;
    *number = "42";
    *type = account == "bob" ? 7 : 0;
    return 1;
  }
};

TEST_F(UserWorker, DialInOddTypeAndFailure) {
  useBackend(lab::makeLabBackend(m_lab, std::make_shared<OddDialIn>(m_lab)));
  auto block = run(gatherUsers, WorkKind::Users, "\\\\PDC",
                   [](WorkerBlock& b) { fullMode(b, false); });
  const auto shown = messages();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Something's going wrong\nwith the RAS selection type.");
  EXPECT_EQ(shown[0].caption, "Veltrane Message");
  auto users = byName(*block);
  EXPECT_EQ(users.at("bob").callbackType, "No callback");
  EXPECT_EQ(users.at("bob").rasAllowed, "Yes");
  EXPECT_EQ(users.at("alice").callbackType, "No callback");
  EXPECT_EQ(users.at("carol").rasAllowed, "No");
  EXPECT_EQ(users.at("carol").callbackNumber, "");
  EXPECT_EQ(users.at("carol").callbackType, "");
}

// NetUserEnum on the backup controller (SDC) blocks until the test lets it go.
class BlockingUserEnum : public lab::LabAccounts {
 public:
  using LabAccounts::LabAccounts;
  NET_API_STATUS NetUserEnum(std::string_view server, DWORD level, DWORD filter, NetBuffer& buf,
                             DWORD length, DWORD* read, DWORD* total, DWORD* resume) override {
    if (server.ends_with("SDC")) {
      entered.set_value();
      release.wait();
    }
    return LabAccounts::NetUserEnum(server, level, filter, buf, length, read, total, resume);
  }
  std::promise<void> entered;
  std::shared_future<void> release;
};

TEST_F(UserWorker, StopWhileBlockedInACall) {
  auto backend = std::make_shared<BlockingUserEnum>(m_lab);
  std::promise<void> go;
  backend->release = go.get_future().share();
  auto entered = backend->entered.get_future();
  useBackend(lab::makeLabBackend(m_lab, backend));

  auto host = std::make_shared<testing::TestHost>();
  auto block = testing::makeBlock(WorkKind::Users, host, "\\\\PDC");
  fullMode(*block, true);
  ResetWork(WorkKind::Users);
  WorkerThread thread;
  ASSERT_TRUE(thread.start(block, gatherUsers).started);
  entered.wait();
  thread.stop();
  EXPECT_TRUE(thread.running());  // still inside the platform call
  go.set_value();
  EXPECT_TRUE(thread.waitFor(5s));
  EXPECT_TRUE(host->finished().empty());
  EXPECT_FALSE(block->users.withEnd().size() > 0 &&
               block->users.withEnd().back().name == "END_OF_DATA");
}

}  // namespace
}  // namespace dlgthreads
