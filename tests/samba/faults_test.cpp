// A controller that is not there, and credentials the controller refuses:
// each call answers with its own code (53, 1326) and the browse ends with
// the program's message instead of hanging or failing silently.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <utility>
#include <vector>
#include <thread>

#include "dlgthreads/user_worker.h"
#include "platform/netapi.h"
#include "platform/samba/samba_backend.h"
#include "samba_dc.h"
#include "test_host.h"

namespace {

using namespace platform;
using namespace samba_test;

constexpr DWORD kLogonFailure = 1326;
// Loopback, and no DC listens there.
const std::string kNobody = "\\\\127.0.0.3";

std::shared_ptr<Backend> actingAs(const std::string& password) {
  samba::SambaOptions options;
  options.credentials.user = "Administrator";
  options.credentials.domain = dc().domain;
  options.credentials.password = password;
  std::string error;
  auto backend = samba::SambaBackend::start(std::move(options), &error);
  EXPECT_TRUE(backend) << error;
  return Backend::servedBy(backend);
}

TEST(SambaFaults, AServerThatDoesNotAnswerIsABadNetworkPath) {
  ScopedBackend scope(sambaBackend());
  NetBuffer buf;
  DWORD read = 0, total = 0, resume = 0;
  EXPECT_EQ(NetUserEnum(kNobody, 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read,
                        &total, &resume),
            ERROR_BAD_NETPATH);
  EXPECT_EQ(NetServerGetInfo(kNobody, 101, buf), ERROR_BAD_NETPATH);
  EXPECT_EQ(NetUserAdd(kNobody, 1, USER_INFO_1{}, nullptr), ERROR_BAD_NETPATH);
  // The controller that is there still answers through the same backend.
  EXPECT_EQ(NetServerGetInfo(dc().server, 101, buf), NERR_Success);

  // The Users browse says so once and ends without records.
  auto host = std::make_shared<dlgthreads::testing::TestHost>();
  auto block = dlgthreads::testing::makeBlock(dlgthreads::WorkKind::Users, host, kNobody);
  dlgthreads::ResetWork(dlgthreads::WorkKind::Users);
  dlgthreads::gatherUsers(block);
  const auto shown = host->scripted().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown.front().text.find("Error number : 53"), std::string::npos) << shown.front().text;
  EXPECT_TRUE(block->users.records().empty());
  host->forgetFinished();
}

TEST(SambaFaults, RefusedCredentialsAreALogonFailureUntilRightOnes) {
  {
    ScopedBackend scope(actingAs("not-the-password"));
    NetBuffer buf;
    DWORD read = 0, total = 0, resume = 0;
    EXPECT_EQ(NetUserEnum(dc().server, 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read,
                          &total, &resume),
              kLogonFailure);
    EXPECT_EQ(NetUserGetInfo(dc().server, "Administrator", 3, buf), kLogonFailure);
  }
  // The right credentials work afterwards in the same process.
  ScopedBackend scope(sambaBackend());
  NetBuffer buf;
  EXPECT_EQ(NetUserGetInfo(dc().server, "Administrator", 3, buf), NERR_Success);
}

}  // namespace

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::seconds;

// The bound docs/samba-backend.md states for a controller that stops
// answering: every call ends within it, with 53.
constexpr auto kNoAnswerBound = seconds(35);

std::shared_ptr<samba::SambaBackend> quickToRetry(bool directory) {
  return administratorBackend([directory](samba::SambaOptions& options) {
    options.useDirectory = directory;
    options.quietAfterTimeout = seconds(2);
  });
}

DWORD enumerateUsers(std::string_view server) {
  NetBuffer buf;
  DWORD read = 0, total = 0, resume = 0;
  return NetUserEnum(server, 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read, &total,
                     &resume);
}

// Each case: the DC answers, stops answering (SIGSTOP of every process it
// has) while the program is logged on, and comes back (SIGCONT).
TEST(SambaFaults, AControllerThatStopsAnsweringMidBrowseGivesTheMessageInTime) {
  auto backend = quickToRetry(true);
  ScopedBackend scope(Backend::servedBy(backend));
  ASSERT_EQ(enumerateUsers(dc().server), NERR_Success);  // logged on, directory open

  auto host = std::make_shared<dlgthreads::testing::TestHost>();
  auto block = dlgthreads::testing::makeBlock(dlgthreads::WorkKind::Users, host, dc().server);
  Clock::duration took{};
  {
    FrozenDc frozen;
    ASSERT_GT(frozen.processes(), 0u);
    const auto start = Clock::now();
    dlgthreads::ResetWork(dlgthreads::WorkKind::Users);
    dlgthreads::gatherUsers(block);
    took = Clock::now() - start;
  }
  // The first call that waited out its time-out ends the browse: the
  // calls after it fail at once instead of each waiting as long.
  EXPECT_LT(took, kNoAnswerBound);
  const auto shown = host->scripted().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown.front().text.find("Error number : 53"), std::string::npos) << shown.front().text;
  EXPECT_TRUE(block->users.records().empty());
  host->forgetFinished();

  // Back again: after the quiet spell the same backend browses as before.
  EXPECT_EQ(enumerateUsers(dc().server), ERROR_BAD_NETPATH);  // still left alone
  std::this_thread::sleep_for(seconds(2));
  EXPECT_EQ(enumerateUsers(dc().server), NERR_Success);
}

// Only the directory stops answering (its LDAP server stopped, SMB goes
// on): a browse, the Servers list and an import's add each end within the
// bound with 53, never with what the library alone would give.
TEST(SambaFaults, ADirectoryThatAloneStopsAnsweringIsABadPathInTime) {
  FrozenDc ldap("task[ldap]");
  ASSERT_GT(ldap.processes(), 0u);
  const std::vector<std::pair<const char*, std::function<DWORD()>>> calls = {
      {"users", [] { return enumerateUsers(dc().server); }},
      {"servers",
       [] {
         NetBuffer buf;
         DWORD read = 0, total = 0;
         return NetServerEnum(dc().server, 101, buf, MAX_PREFERRED_LENGTH, &read, &total,
                              SV_TYPE_ALL, {}, nullptr);
       }},
      {"add",
       [] {
         USER_INFO_1 user{};
         user.usri1_name = "stalledadd";
         user.usri1_password = "Stalled-Add-2026!";
         user.usri1_priv = USER_PRIV_USER;
         user.usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
         return NetUserAdd(dc().server, 1, user, nullptr);
       }},
  };
  for (const auto& [what, call] : calls) {
    SCOPED_TRACE(what);
    // Not connected yet, as an unattended run starts.
    auto backend = administratorBackend([](samba::SambaOptions& options) {
      options.directoryQuestion = std::chrono::milliseconds(2000);
    });
    ASSERT_TRUE(backend);
    ScopedBackend scope(Backend::servedBy(backend));
    const auto start = Clock::now();
    EXPECT_EQ(call(), ERROR_BAD_NETPATH);
    EXPECT_LT(Clock::now() - start, kNoAnswerBound);
  }
}

TEST(SambaFaults, WithoutADirectoryTheLibrarysTimeOutsEndTheCallToo) {
  auto backend = quickToRetry(false);
  ScopedBackend scope(Backend::servedBy(backend));
  NetBuffer buf;
  ASSERT_EQ(NetUserModalsGet(dc().server, 0, buf), NERR_Success);
  FrozenDc frozen;
  const auto start = Clock::now();
  EXPECT_EQ(enumerateUsers(dc().server), ERROR_BAD_NETPATH);
  EXPECT_LT(Clock::now() - start, kNoAnswerBound);
  // Nothing waits again until the quiet spell is over.
  const auto again = Clock::now();
  EXPECT_EQ(NetUserModalsGet(dc().server, 0, buf), ERROR_BAD_NETPATH);
  EXPECT_LT(Clock::now() - again, seconds(1));
}

TEST(SambaFaults, AControllerThatGoesAwayMidSessionIsAtOnceABadPathAndIsFoundAgain) {
  auto backend = quickToRetry(true);
  ScopedBackend scope(Backend::servedBy(backend));
  ASSERT_EQ(enumerateUsers(dc().server), NERR_Success);
  // Whatever happens below, the DC is there again for the tests after this one.
  struct Resume {
    bool done = false;
    bool operator()() {
      int code = -1;
      runProgram({VELTRANE_SOURCE_DIR "/scripts/samba-dc-resume", dc().prefix, dc().address},
                 &code);
      done = true;
      return code == 0;
    }
    ~Resume() {
      if (!done) (*this)();
    }
  } resume;
  int status = -1;
  runProgram({VELTRANE_SOURCE_DIR "/scripts/samba-dc-stop", dc().prefix}, &status);
  ASSERT_EQ(status, 0);

  // Its connections were closed under the program: no waiting, the message.
  auto host = std::make_shared<dlgthreads::testing::TestHost>();
  auto block = dlgthreads::testing::makeBlock(dlgthreads::WorkKind::Users, host, dc().server);
  const auto start = Clock::now();
  dlgthreads::ResetWork(dlgthreads::WorkKind::Users);
  dlgthreads::gatherUsers(block);
  EXPECT_LT(Clock::now() - start, seconds(5));
  const auto shown = host->scripted().shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_NE(shown.front().text.find("Error number : 53"), std::string::npos) << shown.front().text;
  EXPECT_TRUE(block->users.records().empty());
  host->forgetFinished();

  // Restarted, the DC serves the same backend again: it connects and logs
  // on anew by itself.
  ASSERT_TRUE(resume()) << "the DC did not come back";
  std::this_thread::sleep_for(seconds(2));  // any quiet spell is over
  EXPECT_EQ(enumerateUsers(dc().server), NERR_Success);
}

}  // namespace
