// The Users, Groups and Servers browses of the program's own workers
// against the DC, compared with what the DC's database holds as Samba's
// tools read it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <map>
#include <set>

#include "dlgthreads/date_text.h"
#include "dlgthreads/group_worker.h"
#include "dlgthreads/server_worker.h"
#include "dlgthreads/user_worker.h"
#include "platform/netapi.h"
#include "platform/netsize.h"
#include "resources/strings.h"
#include "samba_dc.h"
#include "test_host.h"

namespace {

using namespace dlgthreads;
using namespace samba_test;

constexpr std::uint32_t kDisabled = 0x2;
constexpr std::uint32_t kDontExpirePassword = 0x10000;
constexpr std::uint32_t kPasswordExpired = 0x800000;
constexpr std::uint32_t kLockedOut = 0x10;
constexpr long long kNtNever = 0x7FFFFFFFFFFFFFFFLL;

class Browse : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    m_backend = std::make_unique<platform::ScopedBackend>(sambaBackend());
  }
  void TearDown() override {
    if (m_host) m_host->forgetFinished();
  }

  std::shared_ptr<WorkerBlock> run(void (*worker)(std::shared_ptr<WorkerBlock>), WorkKind kind,
                                   const std::function<void(WorkerBlock&)>& prepare) {
    if (m_host) m_host->forgetFinished();
    m_host = std::make_shared<dlgthreads::testing::TestHost>();
    auto block = dlgthreads::testing::makeBlock(kind, m_host, dc().server);
    prepare(*block);
    ResetWork(kind);
    worker(block);
    return block;
  }
  std::vector<ui::Message> messages() const { return m_host->scripted().shown(); }

  std::unique_ptr<platform::ScopedBackend> m_backend;
  std::shared_ptr<dlgthreads::testing::TestHost> m_host;
};

std::uint32_t unixFromNt(long long nt) {
  return static_cast<std::uint32_t>(nt / 10000000LL - 11644473600LL);
}

// Full mode, the one the administrator sees by default: every column of
// every account as the DC's database has it.
TEST_F(Browse, UsersFullModeShowsEveryAccountAsTheDatabaseHoldsIt) {
  auto block = run(gatherUsers, WorkKind::Users, [](WorkerBlock& b) {
    b.state.settings.u_quick_viewing = 0;
    b.state.settings.traverse_search = 1;  // the controller list comes from the stand-in
  });
  EXPECT_TRUE(messages().empty());
  std::map<std::string, UserRecord> shown;
  for (const UserRecord& r : block->users.records()) shown[r.name] = r;

  const auto listed = sambaTool({"user", "list"});
  std::set<std::string> expectedNames(listed.begin(), listed.end());
  std::set<std::string> shownNames;
  for (const auto& [name, r] : shown) shownNames.insert(name);
  EXPECT_EQ(shownNames, expectedNames);
  EXPECT_EQ(block->state.recordCount, static_cast<int>(expectedNames.size()));

  const std::string never = res::str(res::kStrNever);
  const std::string none = res::str(res::kStrNone);
  const auto objects =
      ldbSearch("(&(objectClass=user)(!(objectClass=computer)))",
                {"sAMAccountName", "displayName", "description", "userAccountControl",
                 "homeDirectory", "homeDrive", "scriptPath", "profilePath", "accountExpires",
                 "msDS-User-Account-Control-Computed"});
  ASSERT_EQ(objects.size(), expectedNames.size());
  for (const LdifObject& o : objects) {
    const std::string name = first(o, "sAMAccountName");
    SCOPED_TRACE(name);
    ASSERT_TRUE(shown.contains(name));
    const UserRecord& r = shown.at(name);
    const auto control = std::strtoul(first(o, "userAccountControl").c_str(), nullptr, 10);
    EXPECT_EQ(r.fullName, first(o, "displayName"));
    EXPECT_EQ(r.comment, first(o, "description"));
    EXPECT_EQ(r.disabled, (control & kDisabled) ? "Yes" : "No");
    EXPECT_EQ(r.pwExpires, (control & kDontExpirePassword) ? never : "Yes");
    EXPECT_EQ(r.homeDir, first(o, "homeDirectory"));
    EXPECT_EQ(r.homeDrive, first(o, "homeDrive"));
    EXPECT_EQ(r.script, first(o, "scriptPath").empty() ? none : first(o, "scriptPath"));
    EXPECT_EQ(r.profile, first(o, "profilePath").empty() ? none : first(o, "profilePath"));
    const long long expires = std::atoll(first(o, "accountExpires").c_str());
    EXPECT_EQ(r.acctExpires,
              accountExpiryText(expires == 0 || expires == kNtNever ? platform::TIMEQ_FOREVER
                                                                    : unixFromNt(expires),
                                false));
    const auto computed =
        std::strtoul(first(o, "msDS-User-Account-Control-Computed").c_str(), nullptr, 10);
    EXPECT_EQ(r.pwExpired, (computed & kPasswordExpired) ? "Yes" : "No");
    EXPECT_EQ(r.lockedOut, (computed & kLockedOut) ? "Yes" : "No");
  }
  EXPECT_EQ(shown.at("eva.fischer").acctExpires, accountExpiryText(1893456000, false));
  EXPECT_EQ(shown.at("bruno.costa").disabled, "Yes");
  EXPECT_EQ(shown.at("farid.ghani").pwExpired, "Yes");
  EXPECT_EQ(shown.at("gina.hall").lockedOut, "Yes");
  // Dial-in: allowed with a preset call-back, allowed with the caller's, not allowed.
  EXPECT_EQ(shown.at("anna.berg").rasAllowed, "Yes");
  EXPECT_EQ(shown.at("anna.berg").callbackNumber, "555-0100");
  EXPECT_EQ(shown.at("anna.berg").callbackType, res::str(res::kStrAdminPreset));
  EXPECT_EQ(shown.at("carla.diaz").rasAllowed, "Yes");
  EXPECT_EQ(shown.at("carla.diaz").callbackType, res::str(res::kStrUserDefined));
  EXPECT_EQ(shown.at("staff01").rasAllowed, "No");
  EXPECT_EQ(shown.at("staff01").callbackType, res::str(res::kStrNoCallback));
}

TEST_F(Browse, UsersQuickModeListsNamesFullNamesAndFlags) {
  auto block = run(gatherUsers, WorkKind::Users, [](WorkerBlock& b) {
    b.state.settings.u_quick_viewing = 1;
    b.state.settings.u_description = 1;
    b.state.settings.u_pass_expires = 1;
  });
  EXPECT_TRUE(messages().empty());
  const std::string never = res::str(res::kStrNever);
  std::map<std::string, std::string> shown;
  for (const UserRecord& r : block->users.records())
    shown[r.name] = r.fullName + "|" + r.comment + "|" + r.disabled + "|" + r.pwExpires;
  std::map<std::string, std::string> expected;
  for (const LdifObject& o :
       ldbSearch("(&(objectClass=user)(!(objectClass=computer)))",
                 {"sAMAccountName", "displayName", "description", "userAccountControl"})) {
    const auto control = std::strtoul(first(o, "userAccountControl").c_str(), nullptr, 10);
    expected[first(o, "sAMAccountName")] =
        first(o, "displayName") + "|" + first(o, "description") + "|" +
        ((control & kDisabled) ? "Yes" : "No") + "|" +
        ((control & kDontExpirePassword) ? never : "Yes");
  }
  EXPECT_EQ(shown, expected);
}

// The directory serves the browse in one search; libnetapi, which an
// NT4-style controller leaves as the only path, makes a call per account.
// Both must describe every account alike.
TEST_F(Browse, DirectoryAndAccountDatabaseDescribeEveryAccountAlike) {
  using platform::USER_INFO_3;
  auto read = [](bool directory) {
    platform::ScopedBackend scope(sambaBackend(directory));
    platform::NetBuffer buf;
    platform::DWORD read = 0, total = 0, resume = 0;
    EXPECT_EQ(platform::NetUserEnum(dc().server, 3, platform::FILTER_NORMAL_ACCOUNT, buf,
                                    platform::MAX_PREFERRED_LENGTH, &read, &total, &resume),
              platform::NERR_Success);
    std::map<std::string, USER_INFO_3> users;
    for (const USER_INFO_3& u : buf.get<USER_INFO_3>()) users[u.usri3_name] = u;
    return users;
  };
  const auto fast = read(true);
  const auto slow = read(false);
  ASSERT_EQ(fast.size(), slow.size());
  ASSERT_FALSE(fast.empty());
  for (const auto& [name, f] : fast) {
    SCOPED_TRACE(name);
    ASSERT_TRUE(slow.contains(name));
    const USER_INFO_3& s = slow.at(name);
    EXPECT_EQ(f.usri3_full_name, s.usri3_full_name);
    EXPECT_EQ(f.usri3_comment, s.usri3_comment);
    EXPECT_EQ(f.usri3_usr_comment, s.usri3_usr_comment);
    EXPECT_EQ(f.usri3_flags, s.usri3_flags);
    EXPECT_EQ(f.usri3_home_dir, s.usri3_home_dir);
    EXPECT_EQ(f.usri3_home_dir_drive, s.usri3_home_dir_drive);
    EXPECT_EQ(f.usri3_script_path, s.usri3_script_path);
    EXPECT_EQ(f.usri3_profile, s.usri3_profile);
    EXPECT_EQ(f.usri3_workstations, s.usri3_workstations);
    EXPECT_EQ(f.usri3_acct_expires, s.usri3_acct_expires);
    EXPECT_EQ(f.usri3_user_id, s.usri3_user_id);
    EXPECT_EQ(f.usri3_primary_group_id, s.usri3_primary_group_id);
    EXPECT_EQ(f.usri3_password_expired, s.usri3_password_expired);
    // SAMR gives the controller's own lastLogon only; the directory also
    // knows the replicated lastLogonTimestamp, which a logon over SMB may
    // be the only one to set (DirectoryValues checks which is shown).
    EXPECT_GE(f.usri3_last_logon, s.usri3_last_logon);
    EXPECT_EQ(f.usri3_num_logons, s.usri3_num_logons);
    EXPECT_EQ(f.usri3_logon_hours, s.usri3_logon_hours);
    EXPECT_NEAR(f.usri3_password_age, s.usri3_password_age, 5.0);
  }
}

std::set<std::string> membersShown(const WorkerBlock& block, const std::string& group) {
  const std::string localMarker = res::str(res::kStrLocalGroupContainer);
  const std::string globalMarker = res::str(res::kStrGroupContainer);
  std::set<std::string> out;
  for (const GroupRecord& r : block.groups.records()) {
    if (r.name == group && r.third != localMarker && r.third != globalMarker) out.insert(r.third);
  }
  return out;
}

TEST_F(Browse, GroupsWithMembersMatchTheDatabase) {
  auto block = run(gatherGroups, WorkKind::Groups, [](WorkerBlock& b) {
    b.state.settings.g_show_members = 1;
    b.state.settings.g_show_domain_name = 1;
  });
  EXPECT_TRUE(messages().empty());
  const std::string localMarker = res::str(res::kStrLocalGroupContainer);
  const std::string globalMarker = res::str(res::kStrGroupContainer);
  std::set<std::string> shownGlobal, shownLocal;
  for (const GroupRecord& r : block->groups.records()) {
    if (r.third == globalMarker) shownGlobal.insert(r.name);
    if (r.third == localMarker) shownLocal.insert(r.name);
  }
  // Global and universal groups are the domain's groups; builtin and domain
  // local groups its local groups.
  std::set<std::string> expectedGlobal, expectedLocal;
  for (const LdifObject& o : ldbSearch("(objectClass=group)", {"sAMAccountName", "groupType"})) {
    const long long type = std::atoll(first(o, "groupType").c_str());
    ((type & 0xA) ? expectedGlobal : expectedLocal).insert(first(o, "sAMAccountName"));
  }
  EXPECT_EQ(shownGlobal, expectedGlobal);
  EXPECT_EQ(shownLocal, expectedLocal);

  // Members, including those whose primary group it is (Domain Users).
  for (const std::string group : {"Sales", "Engineering", "Helpdesk", "Domain Users", "Domain Admins"}) {
    SCOPED_TRACE(group);
    const auto listed = sambaTool({"group", "listmembers", group});
    EXPECT_EQ(membersShown(*block, group), std::set<std::string>(listed.begin(), listed.end()));
  }
  // Local group members with their domain, users and groups alike.
  for (const std::string group : {"Printer Staff", "Administrators"}) {
    SCOPED_TRACE(group);
    std::set<std::string> expected;
    for (const auto& m : sambaTool({"group", "listmembers", group})) expected.insert("SAMDOM\\" + m);
    EXPECT_EQ(membersShown(*block, group), expected);
  }
}

// Also without the directory, as against an NT4-style controller, where the
// machine accounts of the display information stand in.
class ServersBrowse : public Browse, public ::testing::WithParamInterface<bool> {};

TEST_P(ServersBrowse, ServersAreTheDomainsComputerAccounts) {
  m_backend.reset();
  m_backend = std::make_unique<platform::ScopedBackend>(sambaBackend(GetParam()));
  auto block = run(gatherServers, WorkKind::Servers, [](WorkerBlock&) {});
  std::map<std::string, ServerRecord> shown;
  for (const ServerRecord& r : block->servers.records()) shown[r.name] = r;
  std::set<std::string> expected;
  for (std::string name : sambaTool({"computer", "list"})) {
    if (name.ends_with('$')) name.pop_back();
    expected.insert(name);
  }
  std::set<std::string> names;
  for (const auto& [name, r] : shown) names.insert(name);
  EXPECT_EQ(names, expected);
  constexpr int kControllerFlag = 3;  // word 6
  constexpr int kBackupFlag = 4;
  constexpr int kNonControllerServerFlag = 14;  // SV_TYPE_SERVER_NT
  ASSERT_TRUE(shown.contains("DC1"));
  // The only controller is the primary one, and no "server that is not a
  // controller" besides.
  EXPECT_EQ(shown.at("DC1").typeFlags[kControllerFlag], 1u);
  EXPECT_EQ(shown.at("DC1").typeFlags[kBackupFlag], 0u);
  EXPECT_EQ(shown.at("DC1").typeFlags[kNonControllerServerFlag], 0u);
  EXPECT_EQ(shown.at("WS01").typeFlags[kControllerFlag], 0u);
  EXPECT_EQ(shown.at("WS01").typeFlags[0], 1u);  // a workstation
  EXPECT_EQ(shown.at("FS01").comment, "File server");
}

// The Build column: the number in parentheses of the computer object's
// operatingSystemVersion, which only the directory holds; the Service Pack
// column its operatingSystemServicePack.
TEST_P(ServersBrowse, BuildIsTheComputerObjectsBuildNumber) {
  ChangedAttribute version("FS01$", "operatingSystemVersion", "10.0 (17763)");
  ChangedAttribute pack("FS01$", "operatingSystemServicePack", "Service Pack 1");
  m_backend.reset();
  m_backend = std::make_unique<platform::ScopedBackend>(sambaBackend(GetParam()));
  auto block = run(gatherServers, WorkKind::Servers, [](WorkerBlock&) {});
  std::map<std::string, ServerRecord> shown;
  for (const ServerRecord& r : block->servers.records()) shown[r.name] = r;
  ASSERT_TRUE(shown.contains("FS01"));
  ASSERT_TRUE(shown.contains("WS01"));
  if (GetParam()) {
    EXPECT_EQ(shown.at("FS01").build, "17763");
    EXPECT_EQ(shown.at("FS01").servicePack, "Service Pack 1");
    EXPECT_EQ(shown.at("FS01").version, "10.0");
  } else {
    EXPECT_EQ(shown.at("FS01").build, "Unknown");
  }
  // No version in the directory (WS01) and no registry to ask.
  EXPECT_EQ(shown.at("WS01").build, "Unknown");
  // The DC's own registry answers, and holds no build number: nothing to
  // show, where a machine that cannot be asked is "Unknown".
  EXPECT_EQ(shown.at("DC1").build.find_first_not_of(' '), std::string::npos)
      << shown.at("DC1").build;
}

// Every properties dialog asks the chosen server for its type and warns
// when it lacks the controller bit.
TEST_P(ServersBrowse, TheControllerTellsItselfThePrimaryControllerAtEveryLevel) {
  m_backend.reset();
  m_backend = std::make_unique<platform::ScopedBackend>(sambaBackend(GetParam()));
  platform::NetBuffer buf;
  ASSERT_EQ(platform::NetServerGetInfo(dc().server, 101, buf), platform::NERR_Success);
  ASSERT_TRUE(buf.one<platform::SERVER_INFO_101>());
  const platform::DWORD type101 = buf.one<platform::SERVER_INFO_101>()->sv101_type;
  ASSERT_EQ(platform::NetServerGetInfo(dc().server, 102, buf), platform::NERR_Success);
  ASSERT_TRUE(buf.one<platform::SERVER_INFO_102>());
  EXPECT_EQ(buf.one<platform::SERVER_INFO_102>()->sv102_name, "DC1");
  const platform::DWORD type102 = buf.one<platform::SERVER_INFO_102>()->sv102_type;
  for (const platform::DWORD type : {type101, type102}) {
    EXPECT_TRUE(type & platform::SV_TYPE_DOMAIN_CTRL);
    EXPECT_FALSE(type & platform::SV_TYPE_DOMAIN_BAKCTRL);
    EXPECT_FALSE(type & platform::SV_TYPE_SERVER_NT);
    EXPECT_TRUE(type & platform::SV_TYPE_SERVER);
  }
}

INSTANTIATE_TEST_SUITE_P(DirectoryOrLibnetapi, ServersBrowse, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                           return std::string(info.param ? "Directory" : "Libnetapi");
                         });

}  // namespace

namespace {

// The pages after an enumeration's first come from what the first read: an
// account deleted meanwhile shifts no other out of them, whether the
// accounts come from the directory or from the account database.
class PagedUsers : public ::testing::TestWithParam<bool> {};

TEST_P(PagedUsers, AnAccountDeletedBetweenPagesHidesNoOther) {
  using namespace platform;
  ScopedBackend scope(sambaBackend(GetParam()));
  const std::vector<std::string> ours = {"vt.pagea", "vt.pageb"};
  for (const std::string& name : ours) {
    NetUserDel(dc().server, name);  // left by a run that failed
    USER_INFO_1 user{};
    user.usri1_name = name;
    user.usri1_password = "Paged-Pass-2026!";
    user.usri1_priv = USER_PRIV_USER;
    user.usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
    ASSERT_EQ(NetUserAdd(dc().server, 1, user, nullptr), NERR_Success) << name;
  }
  NetBuffer buf;
  DWORD read = 0, total = 0, resume = 0;
  ASSERT_EQ(NetUserEnum(dc().server, 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read,
                        &total, &resume),
            NERR_Success);
  const auto listed = buf.get<USER_INFO_3>();
  const std::vector<USER_INFO_3> all(listed.begin(), listed.end());
  const auto at = [&](const std::string& name) {
    return static_cast<std::size_t>(std::find_if(all.begin(), all.end(), [&](const auto& u) {
                                      return u.usri3_name == name;
                                    }) - all.begin());
  };
  ASSERT_LT(at(ours[0]), all.size());
  ASSERT_LT(at(ours[1]), all.size());
  // The first page ends just before the later of the two; the earlier one,
  // on it, is deleted before the second page is asked for.
  const std::size_t later = std::max(at(ours[0]), at(ours[1]));
  const std::string earlier = all[std::min(at(ours[0]), at(ours[1]))].usri3_name;
  DWORD firstPage = 0;
  for (std::size_t i = 0; i < later; ++i) firstPage += netEntrySize(all[i]);

  resume = 0;
  ASSERT_EQ(NetUserEnum(dc().server, 3, FILTER_NORMAL_ACCOUNT, buf, firstPage, &read, &total,
                        &resume),
            ERROR_MORE_DATA);
  EXPECT_EQ(read, later);
  ASSERT_EQ(NetUserDel(dc().server, earlier), NERR_Success);
  std::vector<std::string> rest;
  for (DWORD status = ERROR_MORE_DATA; status == ERROR_MORE_DATA;) {
    status = NetUserEnum(dc().server, 3, FILTER_NORMAL_ACCOUNT, buf, firstPage, &read, &total,
                         &resume);
    ASSERT_TRUE(status == NERR_Success || status == ERROR_MORE_DATA) << status;
    for (const USER_INFO_3& u : buf.get<USER_INFO_3>()) rest.push_back(u.usri3_name);
  }
  ASSERT_FALSE(rest.empty());
  EXPECT_EQ(rest.front(), all[later].usri3_name);
  EXPECT_EQ(rest.size(), all.size() - later);
  for (const std::string& name : ours) NetUserDel(dc().server, name);
}

INSTANTIATE_TEST_SUITE_P(DirectoryOrAccountDatabase, PagedUsers, ::testing::Bool());

}  // namespace
