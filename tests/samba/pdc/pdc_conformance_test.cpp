// The checks that make sense against a classic NT4-style PDC (smbd with a
// tdbsam account database, no directory): the program's Users browse,
// account add / read / delete, global groups, the account policy, the
// controller's own information (and that it has no trusts to tell) and a
// refused password, compared with what Samba's own pdbedit reads from the
// account database.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <map>
#include <set>
#include <thread>

#include "dlgthreads/user_worker.h"
#include "platform/dsgetdc.h"
#include "platform/netapi.h"
#include "platform/samba/samba_backend.h"
#include "samba_dc.h"
#include "test_host.h"

namespace {

using namespace platform;
using namespace samba_test;

// The account names pdbedit lists ("name:uid:full name").
std::set<std::string> accountsInDatabase() {
  // pdbedit looks up the Unix accounts of the PDC's own files.
  setenv("NSS_WRAPPER_PASSWD", (dc().prefix + "/etc/passwd").c_str(), 1);
  setenv("NSS_WRAPPER_GROUP", (dc().prefix + "/etc/group").c_str(), 1);
  setenv("LD_PRELOAD", "/usr/lib/x86_64-linux-gnu/libnss_wrapper.so", 1);
  int status = 0;
  const auto lines =
      outputLines(runProgram({"pdbedit", "-s", dc().prefix + "/etc/smb.conf", "-L"}, &status));
  unsetenv("LD_PRELOAD");
  EXPECT_EQ(status, 0);
  std::set<std::string> names;
  for (const std::string& line : lines) names.insert(line.substr(0, line.find(':')));
  return names;
}

class Pdc : public ::testing::Test {
 protected:
  void SetUp() override { m_scope = std::make_unique<ScopedBackend>(sambaBackend()); }
  std::unique_ptr<ScopedBackend> m_scope;
};

TEST_F(Pdc, UsersBrowseFullAndQuickShowTheAccountDatabase) {
  const std::set<std::string> expected = accountsInDatabase();
  ASSERT_TRUE(expected.contains("alice"));
  for (settings::Word quick : {0u, 1u}) {
    SCOPED_TRACE(quick ? "quick" : "full");
    auto host = std::make_shared<dlgthreads::testing::TestHost>();
    auto block = dlgthreads::testing::makeBlock(dlgthreads::WorkKind::Users, host, dc().server);
    block->state.settings.u_quick_viewing = quick;
    dlgthreads::ResetWork(dlgthreads::WorkKind::Users);
    dlgthreads::gatherUsers(block);
    EXPECT_TRUE(host->scripted().shown().empty());
    std::set<std::string> shown;
    std::map<std::string, std::pair<std::string, std::string>> flags;  // disabled, PW expires
    std::string aliceName;
    for (const auto& r : block->users.records()) {
      shown.insert(r.name);
      flags[r.name] = {r.disabled, r.pwExpires};
      if (r.name == "alice") aliceName = r.fullName;
    }
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(aliceName, "Alice Archer");
    // The fixture's filling accounts are disabled, their passwords never
    // expire; alice's account is neither.
    EXPECT_EQ(flags["fill0000"], std::make_pair(std::string("Yes"), std::string("Never")));
    EXPECT_EQ(flags["alice"], std::make_pair(std::string("No"), std::string("Yes")));
    host->forgetFinished();
  }
}

// The enumeration reads the account database over its own pipe, many
// accounts at once; the single-account read goes through libnetapi. Both
// give every field alike, for accounts with every field set (expiry and
// logon hours, which libnetapi never sends, too) and for the fixture's own.
TEST_F(Pdc, TheEnumerationGivesEveryFieldAsTheSingleAccountRead) {
  USER_INFO_1 add{};
  add.usri1_name = "pdcfields";
  add.usri1_password = "Fields-Pass-2026!";
  add.usri1_priv = USER_PRIV_USER;
  add.usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
  ASSERT_EQ(NetUserAdd(dc().server, 1, add, nullptr), NERR_Success);
  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo(dc().server, "pdcfields", 3, buf), NERR_Success);
  USER_INFO_3 set = *buf.one<USER_INFO_3>();
  set.usri3_full_name = "Fields Fülle";
  set.usri3_comment = "every field set";
  set.usri3_usr_comment = "the user's own comment";
  set.usri3_home_dir = "\\\\PDC1\\homes\\pdcfields";
  set.usri3_home_dir_drive = "H:";
  set.usri3_script_path = "logon.cmd";
  set.usri3_profile = "\\\\PDC1\\profiles\\pdcfields";
  set.usri3_workstations = "WS1,WS2";
  set.usri3_flags |= UF_DONT_EXPIRE_PASSWD;
  // What libnetapi never sends, written to the account database itself.
  set.usri3_acct_expires = 1893456000;  // 2030-01-01
  set.usri3_logon_hours.assign(21, 0xFF);
  set.usri3_logon_hours[0] = 0;  // no Sunday night
  ASSERT_EQ(NetUserSetInfo(dc().server, "pdcfields", 3, set, nullptr), NERR_Success);

  DWORD read = 0, total = 0, resume = 0;
  ASSERT_EQ(NetUserEnum(dc().server, 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read,
                        &total, &resume),
            NERR_Success);
  const auto listing = buf.get<USER_INFO_3>();
  const std::vector<USER_INFO_3> all(listing.begin(), listing.end());
  for (const char* name : {"pdcfields", "alice", "fill0000", "pdcadmin"}) {
    SCOPED_TRACE(name);
    const auto listed = std::find_if(all.begin(), all.end(),
                                     [&](const USER_INFO_3& u) { return u.usri3_name == name; });
    ASSERT_NE(listed, all.end());
    ASSERT_EQ(NetUserGetInfo(dc().server, name, 3, buf), NERR_Success);
    const USER_INFO_3& one = *buf.one<USER_INFO_3>();
    const USER_INFO_3& e = *listed;
    EXPECT_EQ(e.usri3_full_name, one.usri3_full_name);
    EXPECT_EQ(e.usri3_comment, one.usri3_comment);
    EXPECT_EQ(e.usri3_usr_comment, one.usri3_usr_comment);
    EXPECT_EQ(e.usri3_parms, one.usri3_parms);
    EXPECT_EQ(e.usri3_home_dir, one.usri3_home_dir);
    EXPECT_EQ(e.usri3_home_dir_drive, one.usri3_home_dir_drive);
    EXPECT_EQ(e.usri3_script_path, one.usri3_script_path);
    EXPECT_EQ(e.usri3_profile, one.usri3_profile);
    EXPECT_EQ(e.usri3_workstations, one.usri3_workstations);
    EXPECT_EQ(e.usri3_flags, one.usri3_flags);
    EXPECT_EQ(e.usri3_priv, one.usri3_priv);
    EXPECT_EQ(e.usri3_acct_expires, one.usri3_acct_expires);
    EXPECT_EQ(e.usri3_last_logon, one.usri3_last_logon);
    EXPECT_EQ(e.usri3_last_logoff, one.usri3_last_logoff);
    EXPECT_EQ(e.usri3_logon_hours, one.usri3_logon_hours);
    EXPECT_EQ(e.usri3_units_per_week, one.usri3_units_per_week);
    EXPECT_EQ(e.usri3_max_storage, one.usri3_max_storage);
    EXPECT_EQ(e.usri3_bad_pw_count, one.usri3_bad_pw_count);
    EXPECT_EQ(e.usri3_num_logons, one.usri3_num_logons);
    EXPECT_EQ(e.usri3_country_code, one.usri3_country_code);
    EXPECT_EQ(e.usri3_code_page, one.usri3_code_page);
    EXPECT_EQ(e.usri3_user_id, one.usri3_user_id);
    EXPECT_EQ(e.usri3_primary_group_id, one.usri3_primary_group_id);
    EXPECT_EQ(e.usri3_password_expired, one.usri3_password_expired);
    // The age is counted from each read's own clock.
    EXPECT_NEAR(static_cast<double>(e.usri3_password_age),
                static_cast<double>(one.usri3_password_age), 2.0);
  }
  const auto fields = std::find_if(all.begin(), all.end(), [](const USER_INFO_3& u) {
    return u.usri3_name == "pdcfields";
  });
  EXPECT_EQ(fields->usri3_full_name, "Fields Fülle");
  EXPECT_EQ(fields->usri3_workstations, "WS1,WS2");
  EXPECT_TRUE(fields->usri3_flags & UF_DONT_EXPIRE_PASSWD);
  EXPECT_EQ(fields->usri3_acct_expires, 1893456000u);
  EXPECT_EQ(fields->usri3_logon_hours, set.usri3_logon_hours);
  EXPECT_EQ(fields->usri3_password_expired, 0u);

  // And back: no expiry, every hour; then the password to be changed.
  set = *fields;
  set.usri3_acct_expires = TIMEQ_FOREVER;
  set.usri3_logon_hours.clear();
  ASSERT_EQ(NetUserSetInfo(dc().server, "pdcfields", 3, set, nullptr), NERR_Success);
  ASSERT_EQ(NetUserGetInfo(dc().server, "pdcfields", 3, buf), NERR_Success);
  EXPECT_EQ(buf.one<USER_INFO_3>()->usri3_acct_expires, TIMEQ_FOREVER);
  EXPECT_TRUE(buf.one<USER_INFO_3>()->usri3_logon_hours.empty());
  set = *buf.one<USER_INFO_3>();
  set.usri3_flags &= ~UF_DONT_EXPIRE_PASSWD;
  set.usri3_password_expired = 1;
  ASSERT_EQ(NetUserSetInfo(dc().server, "pdcfields", 3, set, nullptr), NERR_Success);
  ASSERT_EQ(NetUserGetInfo(dc().server, "pdcfields", 3, buf), NERR_Success);
  EXPECT_EQ(buf.one<USER_INFO_3>()->usri3_password_expired, 1u);
  // "User cannot change password": the account's DACL, set and cleared.
  set = *buf.one<USER_INFO_3>();
  set.usri3_password_expired = 0;
  set.usri3_flags |= UF_PASSWD_CANT_CHANGE;
  ASSERT_EQ(NetUserSetInfo(dc().server, "pdcfields", 3, set, nullptr), NERR_Success);
  ASSERT_EQ(NetUserGetInfo(dc().server, "pdcfields", 3, buf), NERR_Success);
  EXPECT_TRUE(buf.one<USER_INFO_3>()->usri3_flags & UF_PASSWD_CANT_CHANGE);
  ASSERT_EQ(NetUserEnum(dc().server, 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read,
                        &total, &resume),
            NERR_Success);
  const auto again = buf.get<USER_INFO_3>();
  const auto listedAgain = std::find_if(again.begin(), again.end(), [](const USER_INFO_3& u) {
    return u.usri3_name == "pdcfields";
  });
  ASSERT_NE(listedAgain, again.end());
  EXPECT_TRUE(listedAgain->usri3_flags & UF_PASSWD_CANT_CHANGE);
  ASSERT_EQ(NetUserSetInfo(dc().server, "pdcfields", 1008,
                           USER_INFO_1008{listedAgain->usri3_flags & ~UF_PASSWD_CANT_CHANGE},
                           nullptr),
            NERR_Success);
  ASSERT_EQ(NetUserGetInfo(dc().server, "pdcfields", 3, buf), NERR_Success);
  EXPECT_FALSE(buf.one<USER_INFO_3>()->usri3_flags & UF_PASSWD_CANT_CHANGE);
  set = *buf.one<USER_INFO_3>();
  EXPECT_EQ(NetUserSetInfo(dc().server, "nosuchaccount", 3, set, nullptr), NERR_UserNotFound);
  EXPECT_EQ(NetUserDel(dc().server, "pdcfields"), NERR_Success);
}

TEST_F(Pdc, AccountsAreAddedReadAndDeleted) {
  USER_INFO_1 user{};
  user.usri1_name = "pdcprobe";
  user.usri1_password = "Probe-Pass-2026!";
  user.usri1_priv = USER_PRIV_USER;
  user.usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
  user.usri1_comment = "made by the conformance suite";
  ASSERT_EQ(NetUserAdd(dc().server, 1, user, nullptr), NERR_Success);
  EXPECT_TRUE(accountsInDatabase().contains("pdcprobe"));
  EXPECT_EQ(NetUserAdd(dc().server, 1, user, nullptr), NERR_UserExists);
  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo(dc().server, "pdcprobe", 3, buf), NERR_Success);
  ASSERT_TRUE(buf.one<USER_INFO_3>());
  EXPECT_EQ(buf.one<USER_INFO_3>()->usri3_comment, "made by the conformance suite");
  EXPECT_EQ(buf.one<USER_INFO_3>()->usri3_flags & UF_ACCOUNTDISABLE, 0u);
  EXPECT_EQ(NetUserDel(dc().server, "pdcprobe"), NERR_Success);
  EXPECT_FALSE(accountsInDatabase().contains("pdcprobe"));
  EXPECT_EQ(NetUserGetInfo(dc().server, "pdcprobe", 3, buf), NERR_UserNotFound);
}

TEST_F(Pdc, GroupsPolicyAndTheControllersOwnInformation) {
  NetBuffer buf;
  DWORD read = 0, total = 0, resume = 0;
  ASSERT_EQ(NetGroupEnum(dc().server, 1, buf, MAX_PREFERRED_LENGTH, &read, &total, &resume),
            NERR_Success);
  std::set<std::string> groups;
  for (const auto& g : buf.get<GROUP_INFO_1>()) groups.insert(g.grpi1_name);
  EXPECT_TRUE(groups.contains("Domain Admins"));
  EXPECT_TRUE(groups.contains("Staff"));

  resume = 0;
  // (Domain Users would also hold the Unix account an added user leaves
  // behind: the PDC's delete user script is not set up.)
  ASSERT_EQ(NetGroupGetUsers(dc().server, "Staff", 0, buf, MAX_PREFERRED_LENGTH, &read, &total,
                             &resume),
            NERR_Success);
  std::set<std::string> members;
  for (const auto& m : buf.get<GROUP_USERS_INFO_0>()) members.insert(m.grui0_name);
  EXPECT_EQ(members, std::set<std::string>{"alice"});

  ASSERT_EQ(NetUserModalsGet(dc().server, 0, buf), NERR_Success);
  ASSERT_TRUE(buf.one<USER_MODALS_INFO_0>());

  ASSERT_EQ(NetServerGetInfo(dc().server, 101, buf), NERR_Success);
  ASSERT_TRUE(buf.one<SERVER_INFO_101>());
  EXPECT_EQ(buf.one<SERVER_INFO_101>()->sv101_name, "PDC1");

  // Its trusts would come from a directory, which it has not.
  std::vector<DS_DOMAIN_TRUSTS> trusts;
  EXPECT_EQ(DsEnumerateDomainTrusts(dc().server,
                                    DS_DOMAIN_DIRECT_OUTBOUND | DS_DOMAIN_DIRECT_INBOUND, &trusts),
            ERROR_NOT_SUPPORTED);
  EXPECT_TRUE(trusts.empty());
}

// Samba's own view of a group mapping's comment ("net groupmap list").
std::string groupComment(const std::string& group) {
  setenv("NSS_WRAPPER_PASSWD", (dc().prefix + "/etc/passwd").c_str(), 1);
  setenv("NSS_WRAPPER_GROUP", (dc().prefix + "/etc/group").c_str(), 1);
  setenv("LD_PRELOAD", "/usr/lib/x86_64-linux-gnu/libnss_wrapper.so", 1);
  int status = 0;
  const auto lines = outputLines(runProgram(
      {"net", "-s", dc().prefix + "/etc/smb.conf", "groupmap", "list", "verbose", "ntgroup=" + group},
      &status));
  unsetenv("LD_PRELOAD");
  EXPECT_EQ(status, 0);
  // "\tComment   : Domain Unix group"
  for (const std::string& line : lines) {
    const auto at = line.find("Comment");
    const auto colon = line.find(':', at);
    if (at == std::string::npos || colon == std::string::npos) continue;
    const auto value = line.find_first_not_of(' ', colon + 1);
    return value == std::string::npos ? std::string() : line.substr(value);
  }
  return "(no comment line)";
}

// Group Properties writes level 2, an import level 1 or 1002: each sets the
// comment there too.
TEST_F(Pdc, GlobalGroupCommentIsSetAtEveryCommentLevel) {
  const std::string before = groupComment("Staff");
  GROUP_INFO_2 two;
  two.grpi2_name = "Staff";
  two.grpi2_comment = "Set at level 2";
  EXPECT_EQ(NetGroupSetInfo(dc().server, "Staff", 2, two, nullptr), NERR_Success);
  EXPECT_EQ(groupComment("Staff"), "Set at level 2");
  EXPECT_EQ(NetGroupSetInfo(dc().server, "Staff", 1, GROUP_INFO_1{"Staff", "Set at level 1"},
                            nullptr),
            NERR_Success);
  EXPECT_EQ(groupComment("Staff"), "Set at level 1");
  EXPECT_EQ(NetGroupSetInfo(dc().server, "Staff", 1002, GROUP_INFO_1002{"Set at level 1002"},
                            nullptr),
            NERR_Success);
  EXPECT_EQ(groupComment("Staff"), "Set at level 1002");
  NetBuffer buf;
  ASSERT_EQ(NetGroupGetInfo(dc().server, "Staff", 1, buf), NERR_Success);
  EXPECT_EQ(buf.one<GROUP_INFO_1>()->grpi1_comment, "Set at level 1002");
  EXPECT_EQ(NetGroupSetInfo(dc().server, "Staff", 1002, GROUP_INFO_1002{before}, nullptr),
            NERR_Success);
}

// The PDC says it is the primary controller, and is no "server that is
// not a controller", in its own information and in the browse list.
TEST_F(Pdc, ThePdcIsThePrimaryControllerAndNoOtherServer) {
  NetBuffer buf;
  ASSERT_EQ(NetServerGetInfo(dc().server, 101, buf), NERR_Success);
  ASSERT_TRUE(buf.one<SERVER_INFO_101>());
  const DWORD type101 = buf.one<SERVER_INFO_101>()->sv101_type;
  ASSERT_EQ(NetServerGetInfo(dc().server, 102, buf), NERR_Success);
  ASSERT_TRUE(buf.one<SERVER_INFO_102>());
  const DWORD type102 = buf.one<SERVER_INFO_102>()->sv102_type;
  DWORD read = 0, total = 0;
  ASSERT_EQ(NetServerEnum(dc().server, 101, buf, MAX_PREFERRED_LENGTH, &read, &total, SV_TYPE_ALL,
                          {}, nullptr),
            NERR_Success);
  DWORD typeListed = 0;
  for (const auto& s : buf.get<SERVER_INFO_101>())
    if (s.sv101_name == "PDC1") typeListed = s.sv101_type;
  for (const DWORD type : {type101, type102, typeListed}) {
    EXPECT_TRUE(type & SV_TYPE_DOMAIN_CTRL) << std::hex << type;
    EXPECT_FALSE(type & SV_TYPE_SERVER_NT) << std::hex << type;
  }
}

// The account flags pdbedit shows for `user` ("[DU         ]").
std::string accountFlags(const std::string& user) {
  setenv("NSS_WRAPPER_PASSWD", (dc().prefix + "/etc/passwd").c_str(), 1);
  setenv("NSS_WRAPPER_GROUP", (dc().prefix + "/etc/group").c_str(), 1);
  setenv("LD_PRELOAD", "/usr/lib/x86_64-linux-gnu/libnss_wrapper.so", 1);
  const auto lines = outputLines(
      runProgram({"pdbedit", "-s", dc().prefix + "/etc/smb.conf", "-v", user}, nullptr));
  unsetenv("LD_PRELOAD");
  for (const std::string& line : lines)
    if (line.starts_with("Account Flags:")) return line.substr(line.find('['));
  return "(no flags line)";
}

// An update of an account's flags (Disabled, PW Expires) as an import or
// User Properties writes them.
TEST_F(Pdc, AccountFlagsAreWrittenAsTheDatabaseKeepsThem) {
  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo(dc().server, "bob", 3, buf), NERR_Success);
  USER_INFO_3 bob = *buf.one<USER_INFO_3>();
  ASSERT_FALSE(bob.usri3_flags & UF_ACCOUNTDISABLE);
  bob.usri3_flags |= UF_ACCOUNTDISABLE | UF_DONT_EXPIRE_PASSWD;
  DWORD parm = 0;
  ASSERT_EQ(NetUserSetInfo(dc().server, "bob", 3, bob, &parm), NERR_Success);
  EXPECT_EQ(accountFlags("bob"), "[DUX        ]");
  ASSERT_EQ(NetUserGetInfo(dc().server, "bob", 3, buf), NERR_Success);
  EXPECT_TRUE(buf.one<USER_INFO_3>()->usri3_flags & UF_ACCOUNTDISABLE);
  bob.usri3_flags &= ~(UF_ACCOUNTDISABLE | UF_DONT_EXPIRE_PASSWD);
  ASSERT_EQ(NetUserSetInfo(dc().server, "bob", 3, bob, &parm), NERR_Success);
  EXPECT_EQ(accountFlags("bob"), "[U          ]");
}

// smbd killed while the full Users browse reads the accounts, at several
// points of it: the browse ends with the message of a server gone away,
// never a crash, and once smbd is back the same backend browses again.
TEST(PdcFaults, ABrowseOutlivesTheServerGoingAwayUnderIt) {
  using Clock = std::chrono::steady_clock;
  // A kill can look like a time-out to the library, after which the
  // controller is left alone for a quiet spell: none here, so the browse
  // after smbd is back shows whether the backend found it again.
  auto backend = administratorBackend([](samba::SambaOptions& options) {
    options.quietAfterTimeout = std::chrono::milliseconds(0);
  });
  ASSERT_TRUE(backend);
  ScopedBackend scope(Backend::servedBy(backend));
  const auto browse = [] {
    auto host = std::make_shared<dlgthreads::testing::TestHost>();
    auto block = dlgthreads::testing::makeBlock(dlgthreads::WorkKind::Users, host, dc().server);
    dlgthreads::ResetWork(dlgthreads::WorkKind::Users);
    dlgthreads::gatherUsers(block);
    std::pair result{block->users.records().size(), host->scripted().shown()};
    host->forgetFinished();
    return result;
  };
  const auto start = Clock::now();
  const auto whole = browse();
  const auto took = Clock::now() - start;
  // The fixture's account database is as big as a real one, so the kill
  // lands inside the library's reading of it.
  ASSERT_GE(whole.first, 500u);
  ASSERT_TRUE(whole.second.empty());
  for (const int eighths : {2, 4, 6}) {
    SCOPED_TRACE(eighths);
    std::thread killer([&] {
      std::this_thread::sleep_for(took * eighths / 8);
      for (int pid : dcProcesses()) ::kill(pid, SIGKILL);
    });
    const auto cut = browse();
    killer.join();
    if (cut.first != whole.first) {
      EXPECT_EQ(cut.first, 0u);
      ASSERT_EQ(cut.second.size(), 1u);
      EXPECT_NE(cut.second.front().text.find("Error number : 53"), std::string::npos)
          << cut.second.front().text;
    }
    int status = -1;
    runProgram({VELTRANE_SOURCE_DIR "/scripts/samba-pdc-resume", dc().prefix}, &status);
    ASSERT_EQ(status, 0) << "the PDC did not come back";
    auto again = browse();
    // A kill that came after the browse had ended closed a connection the
    // library still keeps: the first call after it finds that out (53),
    // and the next connects anew.
    if (cut.first == whole.first && again.first == 0) again = browse();
    EXPECT_EQ(again.first, whole.first)
        << (again.second.empty() ? std::string("no message") : again.second.front().text);
  }
}

TEST(PdcLogon, ARefusedPasswordIsALogonFailure) {
  auto backend = administratorBackend(
      [](samba::SambaOptions& options) { options.credentials.password = "not-the-password"; });
  ASSERT_TRUE(backend);
  ScopedBackend scope(Backend::servedBy(backend));
  NetBuffer buf;
  EXPECT_EQ(NetUserGetInfo(dc().server, "alice", 3, buf), 1326u);
}

}  // namespace
