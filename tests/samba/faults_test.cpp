// A controller that is not there, and credentials the controller refuses:
// each call answers with its own code (53, 1326) and the browse ends with
// the program's message instead of hanging or failing silently.
#include <gtest/gtest.h>

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
