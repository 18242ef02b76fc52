// Account changes through the platform API, the calls the program's
// dialogs make, run alike on the lab and on the DC; on the DC the result
// is also read back with Samba's own tools.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "platform/lab/lab.h"
#include "platform/lab/lab_backend.h"
#include "platform/dialin.h"
#include "platform/netapi.h"
#include "samba_dc.h"
#include "users/copy_record.h"

namespace {

using namespace platform;
using namespace samba_test;

struct Place {
  const char* name;
  bool samba;
  std::string server;
  std::string domain;
  std::string group;       // a global group
  std::string localGroup;  // a local group
};

std::shared_ptr<Backend> labBackend() {
  std::ifstream in(std::string(VELTRANE_TEST_LABS) + "/engine-domain.json");
  std::stringstream text;
  text << in.rdbuf();
  std::string error;
  auto made = lab::labFromJson(text.str(), "engine-domain.json", &error);
  EXPECT_TRUE(made) << error;
  return lab::makeLabBackend(made);
}

class AccountChanges : public ::testing::TestWithParam<Place> {
 protected:
  void SetUp() override {
    const Place& p = GetParam();
    m_backend = std::make_unique<ScopedBackend>(p.samba ? sambaBackend() : labBackend());
    // Both places refuse a one-letter password once the policy asks for more.
    NetBuffer buf;
    ASSERT_EQ(NetUserModalsGet(server(), 0, buf), NERR_Success);
    m_policy = *buf.one<USER_MODALS_INFO_0>();
    USER_MODALS_INFO_0 strict = m_policy;
    strict.usrmod0_min_passwd_len = std::max<DWORD>(7, strict.usrmod0_min_passwd_len);
    strict.usrmod0_min_passwd_age = 0;
    ASSERT_EQ(NetUserModalsSet(server(), 0, strict, nullptr), NERR_Success);
    NetUserDel(server(), kUser);  // left by an earlier, interrupted run
    NetUserDel(server(), kCopy);
  }
  void TearDown() override {
    NetUserDel(server(), kUser);
    NetUserDel(server(), kCopy);
    NetUserModalsSet(server(), 0, m_policy, nullptr);
  }

  const std::string& server() const { return GetParam().server; }
  bool samba() const { return GetParam().samba; }
  USER_INFO_3 user() {
    NetBuffer buf;
    EXPECT_EQ(NetUserGetInfo(server(), kUser, 3, buf), NERR_Success);
    return buf.one<USER_INFO_3>() ? *buf.one<USER_INFO_3>() : USER_INFO_3{};
  }
  // The user as the DC's database holds it.
  LdifObject stored() {
    auto found = ldbSearch("(sAMAccountName=" + std::string(kUser) + ")",
                           {"userAccountControl", "displayName", "description", "accountExpires",
                            "homeDirectory", "homeDrive", "profilePath", "pwdLastSet"});
    return found.empty() ? LdifObject{} : found.front();
  }
  void addUser() {
    USER_INFO_1 add;
    add.usri1_name = kUser;
    add.usri1_password = kPassword;
    add.usri1_comment = "made by the suite";
    add.usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD;
    ASSERT_EQ(NetUserAdd(server(), 1, add, nullptr), NERR_Success);
  }

  static constexpr const char* kUser = "vt.newuser";
  static constexpr const char* kCopy = "vt.copy";
  static constexpr const char* kPassword = "Suite!Passw0rd1";
  std::unique_ptr<ScopedBackend> m_backend;
  USER_MODALS_INFO_0 m_policy;
};

std::uint32_t control(const LdifObject& o) {
  return static_cast<std::uint32_t>(std::strtoul(first(o, "userAccountControl").c_str(), nullptr, 10));
}

TEST_P(AccountChanges, AddSetAndDeleteAUser) {
  addUser();
  USER_INFO_1 again;
  again.usri1_name = kUser;
  again.usri1_password = kPassword;
  EXPECT_EQ(NetUserAdd(server(), 1, again, nullptr), NERR_UserExists);

  // The flags arrive as given: enabled, password never expires.
  USER_INFO_3 u = user();
  EXPECT_EQ(u.usri3_flags & (UF_ACCOUNTDISABLE | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD),
            UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD);
  EXPECT_EQ(u.usri3_comment, "made by the suite");
  if (samba()) {
    EXPECT_EQ(control(stored()) & (UF_ACCOUNTDISABLE | UF_DONT_EXPIRE_PASSWD),
              UF_DONT_EXPIRE_PASSWD);
  }

  // The properties dialog writes the whole record back with its changes.
  u.usri3_full_name = "Vera Newuser";
  u.usri3_comment = "changed by the suite";
  u.usri3_flags |= UF_ACCOUNTDISABLE;
  u.usri3_acct_expires = 1893456000;  // 2030-01-01
  u.usri3_home_dir = "\\\\FS01\\home\\vt.newuser";
  u.usri3_home_dir_drive = "H:";
  u.usri3_profile = "\\\\FS01\\profiles\\vt.newuser";
  ASSERT_EQ(NetUserSetInfo(server(), kUser, 3, u, nullptr), NERR_Success);
  const USER_INFO_3 changed = user();
  EXPECT_EQ(changed.usri3_full_name, "Vera Newuser");
  EXPECT_EQ(changed.usri3_comment, "changed by the suite");
  EXPECT_TRUE(changed.usri3_flags & UF_ACCOUNTDISABLE);
  EXPECT_TRUE(changed.usri3_flags & UF_DONT_EXPIRE_PASSWD);
  EXPECT_EQ(changed.usri3_acct_expires, 1893456000u);
  EXPECT_EQ(changed.usri3_home_dir, "\\\\FS01\\home\\vt.newuser");
  EXPECT_EQ(changed.usri3_home_dir_drive, "H:");
  EXPECT_EQ(changed.usri3_profile, "\\\\FS01\\profiles\\vt.newuser");
  if (samba()) {
    const LdifObject o = stored();
    EXPECT_EQ(first(o, "displayName"), "Vera Newuser");
    EXPECT_EQ(first(o, "description"), "changed by the suite");
    EXPECT_TRUE(control(o) & UF_ACCOUNTDISABLE);
    EXPECT_EQ(first(o, "accountExpires"),
              std::to_string((1893456000LL + 11644473600LL) * 10000000LL));
    EXPECT_EQ(first(o, "homeDrive"), "H:");
  }
  // Enabling again through the flags level alone.
  ASSERT_EQ(NetUserSetInfo(server(), kUser, 1008,
                           USER_INFO_1008{changed.usri3_flags & ~UF_ACCOUNTDISABLE}, nullptr),
            NERR_Success);
  EXPECT_FALSE(user().usri3_flags & UF_ACCOUNTDISABLE);
  if (samba()) {
    EXPECT_FALSE(control(stored()) & UF_ACCOUNTDISABLE);
  }

  ASSERT_EQ(NetUserDel(server(), kUser), NERR_Success);
  NetBuffer buf;
  EXPECT_EQ(NetUserGetInfo(server(), kUser, 3, buf), NERR_UserNotFound);
  EXPECT_EQ(NetUserDel(server(), kUser), NERR_UserNotFound);
  if (samba()) {
    EXPECT_TRUE(stored().empty());
  }
}

// "User cannot change password", set by the properties dialog (level 3) and
// by an import (level 1008), and cleared again. The DC keeps it as deny
// entries for the change-password right on the account's descriptor, as
// directory consoles write it, not in userAccountControl.
TEST_P(AccountChanges, UserCannotChangePasswordIsKeptAndCleared) {
  addUser();
  const auto browsed = [&] {
    NetBuffer buf;
    DWORD read = 0, total = 0, resume = 0;
    EXPECT_EQ(NetUserEnum(server(), 3, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read,
                          &total, &resume),
              NERR_Success);
    for (const USER_INFO_3& u : buf.get<USER_INFO_3>())
      if (u.usri3_name == kUser) return u.usri3_flags;
    return DWORD{0};
  };
  // The descriptor's entries for the change-password right, in SDDL.
  const auto rightEntries = [] {
    const auto found = ldbSearch("(sAMAccountName=" + std::string(kUser) + ")",
                                 {"nTSecurityDescriptor"});
    const std::string sddl = found.empty() ? "" : first(found.front(), "nTSecurityDescriptor");
    std::set<std::string> entries;
    for (std::size_t at = sddl.find('('); at != std::string::npos; at = sddl.find('(', at + 1)) {
      const std::string ace = sddl.substr(at, sddl.find(')', at) - at + 1);
      if (ace.find("ab721a53-1e2f-11d0-9819-00aa0040529b") != std::string::npos)
        entries.insert(ace);
    }
    return entries;
  };
  const std::set<std::string> allowed = {
      "(OA;;CR;ab721a53-1e2f-11d0-9819-00aa0040529b;;PS)",
      "(OA;;CR;ab721a53-1e2f-11d0-9819-00aa0040529b;;WD)"};
  const std::set<std::string> denied = {
      "(OD;;CR;ab721a53-1e2f-11d0-9819-00aa0040529b;;PS)",
      "(OD;;CR;ab721a53-1e2f-11d0-9819-00aa0040529b;;WD)"};
  EXPECT_FALSE(user().usri3_flags & UF_PASSWD_CANT_CHANGE);
  if (samba()) {
    EXPECT_EQ(rightEntries(), allowed);
  }

  USER_INFO_3 u = user();
  u.usri3_flags |= UF_PASSWD_CANT_CHANGE;
  ASSERT_EQ(NetUserSetInfo(server(), kUser, 3, u, nullptr), NERR_Success);
  EXPECT_TRUE(user().usri3_flags & UF_PASSWD_CANT_CHANGE);
  EXPECT_TRUE(browsed() & UF_PASSWD_CANT_CHANGE);
  if (samba()) {
    EXPECT_EQ(rightEntries(), denied);
    EXPECT_FALSE(control(stored()) & UF_PASSWD_CANT_CHANGE);
  }

  // Cleared, the account may change its password again as a new one may.
  ASSERT_EQ(NetUserSetInfo(server(), kUser, 1008,
                           USER_INFO_1008{user().usri3_flags & ~UF_PASSWD_CANT_CHANGE}, nullptr),
            NERR_Success);
  EXPECT_FALSE(user().usri3_flags & UF_PASSWD_CANT_CHANGE);
  EXPECT_FALSE(browsed() & UF_PASSWD_CANT_CHANGE);
  if (samba()) {
    EXPECT_EQ(rightEntries(), allowed);
  }

  ASSERT_EQ(NetUserSetInfo(server(), kUser, 1008,
                           USER_INFO_1008{user().usri3_flags | UF_PASSWD_CANT_CHANGE}, nullptr),
            NERR_Success);
  EXPECT_TRUE(user().usri3_flags & UF_PASSWD_CANT_CHANGE);
  if (samba()) {
    EXPECT_EQ(rightEntries(), denied);
  }
  // The other flags are left as they were.
  EXPECT_TRUE(user().usri3_flags & UF_DONT_EXPIRE_PASSWD);
  EXPECT_FALSE(user().usri3_flags & UF_ACCOUNTDISABLE);
}

TEST_P(AccountChanges, PasswordSetAndRefusedWhenTooShort) {
  addUser();
  const std::string before = samba() ? first(stored(), "pwdLastSet") : "";
  EXPECT_EQ(NetUserSetInfo(server(), kUser, 1003, USER_INFO_1003{"x"}, nullptr),
            NERR_PasswordTooShort);
  ASSERT_EQ(NetUserSetInfo(server(), kUser, 1003, USER_INFO_1003{"Other!Passw0rd2"}, nullptr),
            NERR_Success);
  if (samba()) {
    EXPECT_NE(first(stored(), "pwdLastSet"), before);
  }
}

// "Password not required" lets a blank password in: an account created with
// a password, or with one nobody knows (disabled, as a copy or an import
// without passwords makes it), carries none, on the DC as on the lab.
TEST_P(AccountChanges, AddedWithAPasswordOrOneNobodyKnowsNeedsNoPasswordNotRequired) {
  addUser();
  EXPECT_FALSE(user().usri3_flags & UF_PASSWD_NOTREQD);
  if (samba()) {
    EXPECT_FALSE(control(stored()) & UF_PASSWD_NOTREQD);
  }
  ASSERT_EQ(NetUserDel(server(), kUser), NERR_Success);

  USER_INFO_3 unknown;
  unknown.usri3_name = kUser;
  unknown.usri3_password = std::string(kUnknownPassword);
  unknown.usri3_flags = UF_SCRIPT | UF_ACCOUNTDISABLE;
  ASSERT_EQ(NetUserAdd(server(), 3, unknown, nullptr), NERR_Success);
  const USER_INFO_3 made = user();
  EXPECT_TRUE(made.usri3_flags & UF_ACCOUNTDISABLE);
  EXPECT_FALSE(made.usri3_flags & UF_PASSWD_NOTREQD);
  if (samba()) {
    const LdifObject o = stored();
    EXPECT_EQ(control(o) & (UF_ACCOUNTDISABLE | UF_PASSWD_NOTREQD), UF_ACCOUNTDISABLE);
    EXPECT_NE(first(o, "pwdLastSet"), "0") << "a password nobody is told was set";
  }
}

// Copy user with a password: the program's copy record, added at level 3,
// is an enabled account with the password, must change it at next logon,
// has its own home and profile and the source's other settings; a password
// the policy refuses leaves no account behind, so the copy can be tried
// again under the same name.
TEST_P(AccountChanges, CopyWithAPasswordIsEnabledAndMustChangeIt) {
  addUser();
  USER_INFO_3 source = user();
  source.usri3_flags = (source.usri3_flags & ~UF_DONT_EXPIRE_PASSWD) | UF_ACCOUNTDISABLE;
  source.usri3_comment = "template for the suite";
  source.usri3_acct_expires = 1893456000;  // 2030-01-01
  source.usri3_home_dir = "\\\\FS01\\home\\VT.NEWUSER";
  source.usri3_home_dir_drive = "H:";
  source.usri3_profile = "\\\\FS01\\profiles\\%USERNAME%";
  source.usri3_password.clear();
  ASSERT_EQ(NetUserSetInfo(server(), kUser, 3, source, nullptr), NERR_Success);
  source = user();

  users::CopyDetails details{.name = kCopy, .fullName = "Vera Copy", .password = "x",
                             .confirmation = "x", .mustChange = true};
  EXPECT_EQ(NetUserAdd(server(), 3, users::copyRecord(source, details), nullptr),
            NERR_PasswordTooShort);
  NetBuffer none;
  EXPECT_EQ(NetUserGetInfo(server(), kCopy, 3, none), NERR_UserNotFound)
      << "a refused copy leaves no account behind";

  details.password = details.confirmation = kPassword;
  ASSERT_EQ(NetUserAdd(server(), 3, users::copyRecord(source, details), nullptr), NERR_Success);
  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo(server(), kCopy, 3, buf), NERR_Success);
  const USER_INFO_3 copy = *buf.one<USER_INFO_3>();
  EXPECT_EQ(copy.usri3_full_name, "Vera Copy");
  EXPECT_EQ(copy.usri3_comment, "template for the suite");
  EXPECT_FALSE(copy.usri3_flags & UF_ACCOUNTDISABLE);
  EXPECT_FALSE(copy.usri3_flags & UF_DONT_EXPIRE_PASSWD);
  EXPECT_EQ(copy.usri3_password_expired, 1u);
  EXPECT_EQ(copy.usri3_acct_expires, 1893456000u);
  EXPECT_EQ(copy.usri3_home_dir, "\\\\FS01\\home\\vt.copy");
  EXPECT_EQ(copy.usri3_home_dir_drive, "H:");
  EXPECT_EQ(copy.usri3_profile, "\\\\FS01\\profiles\\vt.copy");
  if (samba()) {
    auto found = ldbSearch("(sAMAccountName=" + std::string(kCopy) + ")",
                           {"userAccountControl", "displayName", "pwdLastSet", "profilePath",
                            "homeDirectory", "accountExpires"});
    ASSERT_EQ(found.size(), 1u);
    const LdifObject& o = found.front();
    EXPECT_EQ(first(o, "displayName"), "Vera Copy");
    EXPECT_FALSE(control(o) & UF_ACCOUNTDISABLE);
    EXPECT_EQ(first(o, "pwdLastSet"), "0") << "must change at next logon";
    EXPECT_EQ(first(o, "profilePath"), "\\\\FS01\\profiles\\vt.copy");
    EXPECT_EQ(first(o, "homeDirectory"), "\\\\FS01\\home\\vt.copy");
    EXPECT_EQ(first(o, "accountExpires"),
              std::to_string((1893456000LL + 11644473600LL) * 10000000LL));
  }
}

bool holds(const NetBuffer& buf, const std::string& name) {
  for (const auto& e : buf.get<GROUP_USERS_INFO_0>()) if (e.grui0_name == name) return true;
  for (const auto& e : buf.get<LOCALGROUP_USERS_INFO_0>()) if (e.lgrui0_name == name) return true;
  for (const auto& e : buf.get<LOCALGROUP_MEMBERS_INFO_3>())
    if (e.lgrmi3_domainandname == name) return true;
  return false;
}

TEST_P(AccountChanges, GroupMembershipChanges) {
  addUser();
  const Place& p = GetParam();
  NetBuffer buf;
  DWORD read = 0, total = 0;

  ASSERT_EQ(NetGroupAddUser(server(), p.group, kUser), NERR_Success);
  EXPECT_EQ(NetGroupAddUser(server(), p.group, kUser), NERR_UserInGroup);
  ASSERT_EQ(NetGroupGetUsers(server(), p.group, 0, buf, MAX_PREFERRED_LENGTH, &read, &total,
                             nullptr),
            NERR_Success);
  EXPECT_TRUE(holds(buf, kUser));
  ASSERT_EQ(NetUserGetGroups(server(), kUser, 0, buf, MAX_PREFERRED_LENGTH, &read, &total),
            NERR_Success);
  EXPECT_TRUE(holds(buf, p.group));
  if (samba()) {
    const auto members = sambaTool({"group", "listmembers", p.group});
    EXPECT_NE(std::find(members.begin(), members.end(), kUser), members.end());
  }
  ASSERT_EQ(NetGroupDelUser(server(), p.group, kUser), NERR_Success);
  EXPECT_EQ(NetGroupDelUser(server(), p.group, kUser), NERR_UserNotInGroup);

  const std::string qualified = p.domain + "\\" + kUser;
  const std::vector<std::string> names = {qualified};
  ASSERT_EQ(NetLocalGroupAddMembers(server(), p.localGroup, 3, {}, names), NERR_Success);
  EXPECT_EQ(NetLocalGroupAddMembers(server(), p.localGroup, 3, {}, names), ERROR_MEMBER_IN_ALIAS);
  ASSERT_EQ(NetLocalGroupGetMembers(server(), p.localGroup, 3, buf, MAX_PREFERRED_LENGTH, &read,
                                    &total, nullptr),
            NERR_Success);
  EXPECT_TRUE(holds(buf, qualified));
  ASSERT_EQ(NetUserGetLocalGroups(server(), kUser, 0, 0, buf, MAX_PREFERRED_LENGTH, &read, &total),
            NERR_Success);
  EXPECT_TRUE(holds(buf, p.localGroup));
  if (samba()) {
    const auto members = sambaTool({"group", "listmembers", p.localGroup});
    EXPECT_NE(std::find(members.begin(), members.end(), kUser), members.end());
  }
  ASSERT_EQ(NetLocalGroupDelMembers(server(), p.localGroup, 3, {}, names), NERR_Success);
  ASSERT_EQ(NetLocalGroupGetMembers(server(), p.localGroup, 3, buf, MAX_PREFERRED_LENGTH, &read,
                                    &total, nullptr),
            NERR_Success);
  EXPECT_FALSE(holds(buf, qualified));
}

// Group Properties writes level 2 and an import level 1 or 1002: each sets
// the comment. The name they carry renames nothing, and level 2's
// attributes are taken, on both places.
TEST_P(AccountChanges, GlobalGroupCommentIsSetAtEveryCommentLevel) {
  const std::string group = GetParam().group;
  NetBuffer buf;
  ASSERT_EQ(NetGroupGetInfo(server(), group, 2, buf), NERR_Success);
  const GROUP_INFO_2 before = *buf.one<GROUP_INFO_2>();
  const auto commentNow = [&] {
    NetBuffer read;
    EXPECT_EQ(NetGroupGetInfo(server(), group, 1, read), NERR_Success);
    const std::string comment = read.one<GROUP_INFO_1>() ? read.one<GROUP_INFO_1>()->grpi1_comment : "";
    if (samba()) {
      const auto o = ldbSearch("(sAMAccountName=" + group + ")", {"description"});
      EXPECT_EQ(o.size(), 1u);
      if (!o.empty()) {
        EXPECT_EQ(first(o.front(), "description"), comment);
      }
    }
    return comment;
  };
  GROUP_INFO_2 two = before;
  two.grpi2_comment = "Set at level 2";
  two.grpi2_attributes = SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED;
  EXPECT_EQ(NetGroupSetInfo(server(), group, 2, two, nullptr), NERR_Success);
  EXPECT_EQ(commentNow(), "Set at level 2");
  EXPECT_EQ(NetGroupSetInfo(server(), group, 1, GROUP_INFO_1{group, "Set at level 1"}, nullptr),
            NERR_Success);
  EXPECT_EQ(commentNow(), "Set at level 1");
  // Another name at level 1 changes the comment and leaves the name alone.
  EXPECT_EQ(NetGroupSetInfo(server(), group, 1, GROUP_INFO_1{"Renamed Group", "Named otherwise"},
                            nullptr),
            NERR_Success);
  EXPECT_EQ(commentNow(), "Named otherwise");
  EXPECT_EQ(NetGroupGetInfo(server(), "Renamed Group", 0, buf), NERR_GroupNotFound);
  EXPECT_EQ(NetGroupSetInfo(server(), group, 1002, GROUP_INFO_1002{"Set at level 1002"}, nullptr),
            NERR_Success);
  EXPECT_EQ(commentNow(), "Set at level 1002");
  // A level the information does not match, and a group that is not there.
  EXPECT_EQ(NetGroupSetInfo(server(), group, 2, GROUP_INFO_1002{"x"}, nullptr),
            ERROR_INVALID_LEVEL);
  EXPECT_EQ(NetGroupSetInfo(server(), "No Such Group", 2, two, nullptr), NERR_GroupNotFound);
  EXPECT_EQ(NetGroupSetInfo(server(), group, 1002, GROUP_INFO_1002{before.grpi2_comment}, nullptr),
            NERR_Success);
}

TEST_P(AccountChanges, AccountPolicyReadAndChange) {
  NetBuffer buf;
  ASSERT_EQ(NetUserModalsGet(server(), 3, buf), NERR_Success);
  const USER_MODALS_INFO_3 lockout = *buf.one<USER_MODALS_INFO_3>();

  USER_MODALS_INFO_0 wanted = m_policy;
  wanted.usrmod0_min_passwd_len = 9;
  wanted.usrmod0_password_hist_len = 5;
  ASSERT_EQ(NetUserModalsSet(server(), 0, wanted, nullptr), NERR_Success);
  USER_MODALS_INFO_3 strict = lockout;
  strict.usrmod3_lockout_threshold = 5;
  ASSERT_EQ(NetUserModalsSet(server(), 3, strict, nullptr), NERR_Success);

  ASSERT_EQ(NetUserModalsGet(server(), 0, buf), NERR_Success);
  EXPECT_EQ(buf.one<USER_MODALS_INFO_0>()->usrmod0_min_passwd_len, 9u);
  EXPECT_EQ(buf.one<USER_MODALS_INFO_0>()->usrmod0_password_hist_len, 5u);
  ASSERT_EQ(NetUserModalsGet(server(), 3, buf), NERR_Success);
  EXPECT_EQ(buf.one<USER_MODALS_INFO_3>()->usrmod3_lockout_threshold, 5u);
  if (samba()) {
    const auto shown = sambaTool({"domain", "passwordsettings", "show"});
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Minimum password length: 9"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Password history length: 5"), shown.end());
    EXPECT_NE(std::find(shown.begin(), shown.end(), "Account lockout threshold (attempts): 5"),
              shown.end());
  }
  ASSERT_EQ(NetUserModalsSet(server(), 3, lockout, nullptr), NERR_Success);
}

TEST_P(AccountChanges, DialinPermissionAndCallback) {
  addUser();
  DWORD allowed = 9, type = 9;
  std::string number = "?";
  ASSERT_EQ(GetRAS(server(), kUser, &allowed, &number, &type), 1);
  EXPECT_EQ(allowed, 0u);
  EXPECT_EQ(type, RAS_CALLBACK_NONE);

  ASSERT_EQ(DoRAS(server(), kUser, 1, "555-0199", RAS_CALLBACK_PRESET), 1);
  ASSERT_EQ(GetRAS(server(), kUser, &allowed, &number, &type), 1);
  EXPECT_EQ(allowed, 1u);
  EXPECT_EQ(number, "555-0199");
  EXPECT_EQ(type, RAS_CALLBACK_PRESET);
  if (samba()) {
    const auto o = ldbSearch("(sAMAccountName=" + std::string(kUser) + ")",
                             {"msNPAllowDialin", "msRADIUSCallbackNumber"});
    ASSERT_EQ(o.size(), 1u);
    EXPECT_EQ(first(o.front(), "msNPAllowDialin"), "TRUE");
    EXPECT_EQ(first(o.front(), "msRADIUSCallbackNumber"), "555-0199");
  }
  ASSERT_EQ(DoRAS(server(), kUser, 0, "", RAS_CALLBACK_USER_SET), 1);
  ASSERT_EQ(GetRASQuick(server(), kUser, &allowed, &number, &type), 1);
  EXPECT_EQ(allowed, 0u);
  EXPECT_EQ(type, RAS_CALLBACK_USER_SET);
  EXPECT_EQ(GetRAS(server(), "no.such.user", &allowed, &number, &type), 0);
}

// Logon hours, workstations and account expiry as the user dialog's Hours,
// Logon To and Account buttons write them: the whole record at level 3 with
// those fields changed, then put back to every hour, every workstation and
// never. The DC keeps them in logonHours, userWorkstations and
// accountExpires.
TEST_P(AccountChanges, LogonHoursWorkstationsAndExpiryAreKeptAndCleared) {
  addUser();
  const auto stored = [] {
    const auto found = ldbSearch("(sAMAccountName=" + std::string(kUser) + ")",
                                 {"logonHours", "userWorkstations", "accountExpires"});
    return found.empty() ? LdifObject{} : found.front();
  };
  // Monday to Friday, 08:00 to 17:59 GMT: bit day * 24 + hour.
  std::vector<std::uint8_t> office(21, 0);
  for (int day = 1; day <= 5; ++day)
    for (int hour = 8; hour < 18; ++hour)
      office[static_cast<std::size_t>(day * 24 + hour) / 8] |=
          static_cast<std::uint8_t>(1u << ((day * 24 + hour) % 8));
  USER_INFO_3 u = user();
  u.usri3_units_per_week = 168;
  u.usri3_logon_hours = office;
  u.usri3_workstations = "WKS1,FRONTDESK-01";
  u.usri3_acct_expires = 1909074600;  // 2030-07-01 00:00 at GMT+05:30
  ASSERT_EQ(NetUserSetInfo(server(), kUser, 3, u, nullptr), NERR_Success);
  USER_INFO_3 changed = user();
  EXPECT_EQ(changed.usri3_logon_hours, office);
  EXPECT_EQ(changed.usri3_workstations, "WKS1,FRONTDESK-01");
  EXPECT_EQ(changed.usri3_acct_expires, 1909074600u);
  if (samba()) {
    const LdifObject o = stored();
    EXPECT_EQ(first(o, "logonHours"), std::string(office.begin(), office.end()));
    EXPECT_EQ(first(o, "userWorkstations"), "WKS1,FRONTDESK-01");
    EXPECT_EQ(first(o, "accountExpires"),
              std::to_string((1909074600LL + 11644473600LL) * 10000000LL));
  }

  // Every hour is written as 21 bytes of ones (no bytes would change
  // nothing), every workstation as an empty list.
  changed.usri3_logon_hours.assign(21, 0xFF);
  changed.usri3_workstations.clear();
  changed.usri3_acct_expires = TIMEQ_FOREVER;
  ASSERT_EQ(NetUserSetInfo(server(), kUser, 3, changed, nullptr), NERR_Success);
  const USER_INFO_3 cleared = user();
  EXPECT_TRUE(cleared.usri3_logon_hours.empty() ||
              cleared.usri3_logon_hours == std::vector<std::uint8_t>(21, 0xFF));
  EXPECT_EQ(cleared.usri3_workstations, "");
  EXPECT_EQ(cleared.usri3_acct_expires, TIMEQ_FOREVER);
  if (samba()) {
    const LdifObject o = stored();
    EXPECT_EQ(first(o, "logonHours"), std::string(21, '\xFF'));
    EXPECT_EQ(first(o, "userWorkstations"), "");
    const std::string never = first(o, "accountExpires");
    EXPECT_TRUE(never == "9223372036854775807" || never == "0") << never;
  }
}

INSTANTIATE_TEST_SUITE_P(
    LabAndDc, AccountChanges,
    ::testing::Values(Place{"lab", false, "\\\\PDC", "LAB", "Staff", "Users"},
                      Place{"dc", true, "\\\\127.0.0.2", "SAMDOM", "Helpdesk", "Printer Staff"}),
    [](const ::testing::TestParamInfo<Place>& info) { return std::string(info.param.name); });

}  // namespace
