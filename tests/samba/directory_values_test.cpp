// Values the DC's directory holds that the program shows: maximum storage,
// the last logon a controller knows, well-known members by name, global
// groups nested in global groups, and the controller's own role. Each is
// set in the DC's database (and put back) and read through the platform
// calls and the program's own workers.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <set>

#include "dlgthreads/date_text.h"
#include "dlgthreads/group_worker.h"
#include "dlgthreads/printf_text.h"
#include "dlgthreads/user_worker.h"
#include "platform/netapi.h"
#include "platform/security.h"
#include "resources/strings.h"
#include "samba_dc.h"
#include "test_host.h"

namespace {

using namespace platform;
using namespace samba_test;

// NT time (100 ns since 1601) of a time in seconds since 1970.
std::string ntTime(std::uint32_t unix) {
  return std::to_string((static_cast<long long>(unix) + 11644473600LL) * 10000000LL);
}

USER_INFO_3 userInfo(const std::string& name) {
  NetBuffer buf;
  EXPECT_EQ(NetUserGetInfo(dc().server, name, 3, buf), NERR_Success);
  return buf.one<USER_INFO_3>() ? *buf.one<USER_INFO_3>() : USER_INFO_3{};
}

std::shared_ptr<dlgthreads::WorkerBlock> runWorker(
    void (*worker)(std::shared_ptr<dlgthreads::WorkerBlock>), dlgthreads::WorkKind kind,
    const std::function<void(dlgthreads::WorkerBlock&)>& prepare,
    const std::shared_ptr<dlgthreads::testing::TestHost>& host) {
  auto block = dlgthreads::testing::makeBlock(kind, host, dc().server);
  prepare(*block);
  dlgthreads::ResetWork(kind);
  worker(block);
  return block;
}

class DirectoryValues : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    m_scope = std::make_unique<ScopedBackend>(sambaBackend());
  }
  void TearDown() override { m_host->forgetFinished(); }

  std::shared_ptr<dlgthreads::WorkerBlock> run(
      void (*worker)(std::shared_ptr<dlgthreads::WorkerBlock>), dlgthreads::WorkKind kind,
      const std::function<void(dlgthreads::WorkerBlock&)>& prepare) {
    m_host->forgetFinished();
    m_host = std::make_shared<dlgthreads::testing::TestHost>();
    return runWorker(worker, kind, prepare, m_host);
  }

  std::unique_ptr<ScopedBackend> m_scope;
  std::shared_ptr<dlgthreads::testing::TestHost> m_host =
      std::make_shared<dlgthreads::testing::TestHost>();
};

TEST_F(DirectoryValues, MaximumStorageIsTheDirectorysAndUnlimitedWithoutOne) {
  ChangedAttribute limited("staff03", "maxStorage", "5000");
  EXPECT_EQ(userInfo("staff03").usri3_max_storage, 5000u);
  EXPECT_EQ(userInfo("staff04").usri3_max_storage, USER_MAXSTORAGE_UNLIMITED);
  auto block = run(dlgthreads::gatherUsers, dlgthreads::WorkKind::Users,
                   [](dlgthreads::WorkerBlock& b) { b.state.settings.u_quick_viewing = 0; });
  std::map<std::string, std::string> shown;
  for (const auto& r : block->users.records()) shown[r.name] = r.maxStorage;
  EXPECT_EQ(shown["staff03"], dlgthreads::printfText("%10i", 5000));
  EXPECT_EQ(shown["staff04"], dlgthreads::printfText("%10i", -1));
}

// An account under a fine-grained password policy is locked out on that
// policy's terms, not the domain's: only the DC knows which policy applies,
// and the program shows what the DC computes, lock-out and password expiry
// alike.
TEST_F(DirectoryValues, LockOutAndPasswordExpiryAreTheControllersUnderAFineGrainedPolicy) {
  constexpr unsigned long kLockedOut = 0x10;
  constexpr unsigned long kPasswordExpired = 0x800000;
  const auto shownInBrowse = [&](const std::string& name) {
    auto block = run(dlgthreads::gatherUsers, dlgthreads::WorkKind::Users,
                     [](dlgthreads::WorkerBlock& b) { b.state.settings.u_quick_viewing = 0; });
    for (const auto& r : block->users.records())
      if (r.name == name) return r.lockedOut + "/" + r.pwExpired;
    return std::string("not listed");
  };
  const auto computed = [](const std::string& name) {
    const auto o = ldbSearch("(sAMAccountName=" + name + ")", {"msDS-User-Account-Control-Computed"});
    return o.empty() ? 0ul
                     : std::strtoul(first(o.front(), "msDS-User-Account-Control-Computed").c_str(),
                                    nullptr, 10);
  };
  // Locked an hour ago: the domain's lock-out (30 minutes) is over, the
  // policy's (a day) is not. (lockoutTime cannot be removed, so the account
  // the DC was filled with a lock-out for.)
  ChangedAttribute locked("gina.hall", "lockoutTime",
                          ntTime(static_cast<std::uint32_t>(std::time(nullptr)) - 3600));
  ASSERT_EQ(computed("gina.hall") & kLockedOut, 0ul);
  EXPECT_FALSE(userInfo("gina.hall").usri3_flags & UF_LOCKOUT);
  AppliedPasswordSettings strict("vt-strict", "gina.hall", 24 * 60);
  ASSERT_EQ(computed("gina.hall") & kLockedOut, kLockedOut);
  const USER_INFO_3 u = userInfo("gina.hall");
  EXPECT_TRUE(u.usri3_flags & UF_LOCKOUT);
  EXPECT_EQ(u.usri3_password_expired != 0, (computed("gina.hall") & kPasswordExpired) != 0);
  // The browse shows the same; a must-change password is expired for the DC too.
  EXPECT_EQ(shownInBrowse("gina.hall"),
            std::string("Yes/") + ((computed("gina.hall") & kPasswordExpired) ? "Yes" : "No"));
  ASSERT_TRUE(computed("farid.ghani") & kPasswordExpired);
  EXPECT_EQ(shownInBrowse("farid.ghani"), "No/Yes");
}

// A DC that answered a logon through a path that keeps only the replicated
// lastLogonTimestamp still shows when the account last logged on; with both,
// the later one.
TEST_F(DirectoryValues, LastLogonIsTheLaterOfTheControllersAndTheReplicatedOne) {
  const std::uint32_t replicated = 1767225600;  // 2026-01-01
  const std::uint32_t ownLater = replicated + 86400 * 3;
  const std::uint32_t ownEarlier = replicated - 86400 * 10;
  ChangedAttribute timestamp("staff05", "lastLogonTimestamp", ntTime(replicated));
  {
    ChangedAttribute own("staff05", "lastLogon", "0");
    EXPECT_EQ(userInfo("staff05").usri3_last_logon, replicated);
    auto block = run(dlgthreads::gatherUsers, dlgthreads::WorkKind::Users,
                     [](dlgthreads::WorkerBlock& b) { b.state.settings.u_quick_viewing = 0; });
    std::string shown;
    for (const auto& r : block->users.records())
      if (r.name == "staff05") shown = r.lastLogon;
    EXPECT_EQ(shown, dlgthreads::dateText(replicated));
  }
  {
    ChangedAttribute own("staff05", "lastLogon", ntTime(ownLater));
    EXPECT_EQ(userInfo("staff05").usri3_last_logon, ownLater);
  }
  {
    ChangedAttribute own("staff05", "lastLogon", ntTime(ownEarlier));
    EXPECT_EQ(userInfo("staff05").usri3_last_logon, replicated);
  }
}

// The names Samba's own look-up (LSA, asked with rpcclient) gives: the
// foreign security principals the DC was provisioned with, among them
// IUSR in IIS_IUSRS, and the service accounts.
TEST_F(DirectoryValues, WellKnownAccountsAreNamedAsTheControllersLookUpNamesThem) {
  std::vector<std::string> sids = {"S-1-5-17", "S-1-5-19", "S-1-5-20", "S-1-5-15", "S-1-3-1",
                                   "S-1-5-1", "S-1-5-10", "S-1-5-64-10"};
  for (const LdifObject& o : ldbSearch("(objectClass=foreignSecurityPrincipal)", {"cn"}))
    sids.push_back(first(o, "cn"));
  std::vector<std::string> args = {"rpcclient", "-A", dc().prefix + "/admin.auth",
                                   "-s", dc().prefix + "/etc/smb.conf", dc().address,
                                   "-c", "lookupsids"};
  for (const std::string& sid : sids) args.back() += " " + sid;
  int status = 0;
  // "S-1-5-17 NT AUTHORITY\IUSR (5)"
  std::map<std::string, std::string> samba;
  for (const std::string& line : outputLines(runProgram(args, &status))) {
    const auto blank = line.find(' ');
    const auto type = line.rfind(" (");
    if (blank == std::string::npos || type == std::string::npos || type <= blank) continue;
    samba[line.substr(0, blank)] = line.substr(blank + 1, type - blank - 1);
  }
  ASSERT_EQ(status, 0);
  for (const std::string& sid : sids) {
    SCOPED_TRACE(sid);
    ASSERT_TRUE(samba.contains(sid));
    std::string name, domain;
    SID_NAME_USE use = SidTypeUnknown;
    ASSERT_EQ(LookupAccountSid(dc().server, SID{sid}, &name, &domain, &use), ERROR_SUCCESS);
    EXPECT_EQ(domain + "\\" + name, samba.at(sid));
    EXPECT_EQ(use, SidTypeWellKnownGroup);
  }

  auto block = run(dlgthreads::gatherGroups, dlgthreads::WorkKind::Groups,
                   [](dlgthreads::WorkerBlock& b) {
                     b.state.settings.g_show_members = 1;
                     b.state.settings.g_show_domain_name = 1;
                   });
  std::set<std::string> rows;
  for (const auto& r : block->groups.records())
    if (r.name == "IIS_IUSRS") rows.insert(r.third);
  EXPECT_TRUE(rows.contains("NT AUTHORITY\\IUSR"));
  EXPECT_FALSE(rows.contains("S-1-5-17"));
}

// A global group nested in another is a member row of it, as the DC lists
// the group's members.
TEST_F(DirectoryValues, AGlobalGroupNestedInAGlobalGroupIsOneOfItsMembers) {
  sambaTool({"group", "addmembers", "Engineering", "Helpdesk"});
  struct Unnest {
    ~Unnest() { sambaTool({"group", "removemembers", "Engineering", "Helpdesk"}); }
  } unnest;
  const auto listed = sambaTool({"group", "listmembers", "Engineering"});
  const std::set<std::string> expected(listed.begin(), listed.end());
  ASSERT_TRUE(expected.contains("Helpdesk"));

  NetBuffer buf;
  DWORD read = 0, total = 0;
  ASSERT_EQ(NetGroupGetUsers(dc().server, "Engineering", 0, buf, MAX_PREFERRED_LENGTH, &read,
                             &total, nullptr),
            NERR_Success);
  std::set<std::string> members;
  for (const auto& m : buf.get<GROUP_USERS_INFO_0>()) members.insert(m.grui0_name);
  EXPECT_EQ(members, expected);

  auto block = run(dlgthreads::gatherGroups, dlgthreads::WorkKind::Groups,
                   [](dlgthreads::WorkerBlock& b) { b.state.settings.g_show_members = 1; });
  const std::string marker = res::str(res::kStrGroupContainer);
  std::set<std::string> rows;
  for (const auto& r : block->groups.records())
    if (r.name == "Engineering" && r.third != marker) rows.insert(r.third);
  EXPECT_EQ(rows, expected);
}

}  // namespace
