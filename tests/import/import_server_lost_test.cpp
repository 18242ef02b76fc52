// A server that goes away in the middle of an import, or refuses the
// account the program acts as: the import ends at once with one message
// that says so, and counts only the records it applied.

#include <gtest/gtest.h>

#include <atomic>

#include "import_test_support.h"
#include "platform/lab/lab_accounts.h"
#include "platform/lab/lab_backend.h"

namespace transfer::test {
namespace {

using platform::DWORD;
using platform::NetBuffer;
using platform::NetInfo;

// The lab's accounts, until `answering` adds have been made; from then on
// every call answers `status`, as a controller that went away (53) or that
// refuses the account (1326).
class Failing final : public lab::LabAccounts {
 public:
  Failing(std::shared_ptr<lab::Lab> lab, int answering, DWORD status)
      : LabAccounts(std::move(lab)), m_left(answering), m_status(status) {}
  DWORD NetUserGetInfo(std::string_view server, std::string_view user, DWORD level,
                       NetBuffer& buf) override {
    return gone() ? m_status : LabAccounts::NetUserGetInfo(server, user, level, buf);
  }
  DWORD NetUserAdd(std::string_view server, DWORD level, const NetInfo& info,
                   DWORD* parm_err) override {
    if (gone()) return m_status;
    --m_left;
    return LabAccounts::NetUserAdd(server, level, info, parm_err);
  }
  DWORD NetUserModalsGet(std::string_view server, DWORD level, NetBuffer& buf) override {
    return gone() ? m_status : LabAccounts::NetUserModalsGet(server, level, buf);
  }
  DWORD NetGroupGetInfo(std::string_view server, std::string_view group, DWORD level,
                        NetBuffer& buf) override {
    return gone() ? m_status : LabAccounts::NetGroupGetInfo(server, group, level, buf);
  }
  DWORD NetLocalGroupGetInfo(std::string_view server, std::string_view group, DWORD level,
                             NetBuffer& buf) override {
    return gone() ? m_status : LabAccounts::NetLocalGroupGetInfo(server, group, level, buf);
  }
  DWORD NetGroupAdd(std::string_view server, DWORD level, const NetInfo& info,
                    DWORD* parm_err) override {
    return gone() ? m_status : LabAccounts::NetGroupAdd(server, level, info, parm_err);
  }

 private:
  bool gone() const { return m_left <= 0; }
  std::atomic<int> m_left;
  DWORD m_status;
};

class ServerLost : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lab) << lab.error(); }
  void failAfter(int adds, DWORD status) {
    m_scope = std::make_unique<platform::ScopedBackend>(
        lab::makeLabBackend(lab.shared(), std::make_shared<Failing>(lab.shared(), adds, status)));
  }
  lab::test::LabFixture lab{"import-domain"};
  ui::ScriptedMessages messages;
  std::unique_ptr<platform::ScopedBackend> m_scope;
};

constexpr std::string_view kFourNewUsers =
    "UserName\tPassword\tFull Name\r\n"
    "newone\tPw-one-2026!\tNew One\r\n"
    "newtwo\tPw-two-2026!\tNew Two\r\n"
    "newthree\tPw-three-2026!\tNew Three\r\n"
    "newfour\tPw-four-2026!\tNew Four\r\n";

TEST_F(ServerLost, AControllerGoneMidImportEndsItWithOneMessageAndTheTrueCount) {
  failAfter(2, platform::ERROR_BAD_NETPATH);
  const ImportSummary summary = importText(kFourNewUsers, messages);
  EXPECT_TRUE(summary.stopped);
  EXPECT_EQ(summary.users.added, 2u);
  EXPECT_EQ(summary.countLines().front(), "Records imported: 2 of 4 (stopped)");
  const auto shown = texts(messages);
  ASSERT_EQ(shown.size(), 1u) << ::testing::PrintToString(shown);
  EXPECT_NE(shown.front().find("does not answer"), std::string::npos) << shown.front();
  EXPECT_NE(shown.front().find("Error number : 53: The network path was not found."),
            std::string::npos)
      << shown.front();
}

TEST_F(ServerLost, ARefusedAccountEndsAGroupImportBeforeItsFirstRecord) {
  failAfter(0, 1326);
  const ImportSummary summary =
      importText("GroupName\tComment\tUserName\r\n"
                 "Fresh\tNew\tAAGROUP_CONTAINER\r\n"
                 "Other\tOther\tAAGROUP_CONTAINER\r\n",
                 messages);
  EXPECT_TRUE(summary.stopped);
  EXPECT_EQ(summary.countLines().front(), "Records imported: 0 of 2 (stopped)");
  const auto shown = texts(messages);
  ASSERT_EQ(shown.size(), 1u) << ::testing::PrintToString(shown);
  EXPECT_NE(shown.front().find("refuses the account the program acts as"), std::string::npos)
      << shown.front();
  EXPECT_EQ(shown.front().find("Could not add group"), std::string::npos);
}

}  // namespace
}  // namespace transfer::test
