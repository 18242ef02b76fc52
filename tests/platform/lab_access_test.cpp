// What callers rely on from the lab: names, rights, controllers' own logon
// statistics, membership and look-ups.

#include <gtest/gtest.h>

#include "../support/lab_fixture.h"
#include "platform/backend.h"
#include "platform/dialin.h"
#include "platform/security.h"

using namespace platform;
using lab::test::LabFixture;
using lab::test::newUser;

namespace {

DWORD userEnum(std::string_view server, DWORD level, NetBuffer& buf) {
  DWORD read = 0, total = 0, resume = 0;
  return NetUserEnum(server, level, FILTER_NORMAL_ACCOUNT, buf, MAX_PREFERRED_LENGTH, &read, &total, &resume);
}

TEST(LabNames, ServerNamesResolveLikeWindows) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  struct Row { const char* server; DWORD status; };
  const Row rows[] = {
      {"", NERR_Success},           {"\\\\PDC", NERR_Success}, {"pdc", NERR_Success},
      {"\\\\NOSUCH", ERROR_BAD_NETPATH}, {"\\\\DOWN", ERROR_BAD_NETPATH},
      {"\\\\BAD/NAME", NERR_InvalidComputer}, {"\\\\MUCHTOOLONGCOMPUTERNAME", NERR_InvalidComputer},
      {"\\PDC", NERR_InvalidComputer}, {"\\\\\\PDC", NERR_InvalidComputer}, {"\\\\", NERR_InvalidComputer},
  };
  for (const auto& r : rows) {
    NetBuffer buf;
    EXPECT_EQ(NetServerGetInfo(r.server, 101, buf), r.status) << r.server;
  }
}

TEST(LabRights, PlainUserIsRefusedWhereWindowsRefuses) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  lab->logOn("LAB\\bob");
  NetBuffer buf;
  DWORD read = 0, total = 0, resume = 0, returned = 0;
  // Reads any user may do.
  EXPECT_EQ(userEnum("\\\\PDC", 0, buf), NERR_Success);
  EXPECT_EQ(NetQueryDisplayInformation("\\\\PDC", 1, 0, 100, MAX_PREFERRED_LENGTH, &returned, buf), NERR_Success);
  EXPECT_EQ(NetGroupEnum("\\\\PDC", 2, buf, MAX_PREFERRED_LENGTH, &read, &total, &resume), NERR_Success);
  EXPECT_EQ(NetLocalGroupGetMembers("\\\\PDC", "Shared", 2, buf, MAX_PREFERRED_LENGTH, &read, &total, &resume), NERR_Success);
  EXPECT_EQ(NetUserGetInfo("\\\\PDC", "alice", 0, buf), NERR_Success);
  EXPECT_EQ(NetUserModalsGet("\\\\PDC", 0, buf), NERR_Success);
  EXPECT_EQ(NetUserGetInfo("\\\\PDC", "bob", 3, buf), NERR_Success) << "an account may read itself";
  // Reads and writes that need an administrator or account operator.
  EXPECT_EQ(userEnum("\\\\PDC", 3, buf), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetUserGetInfo("\\\\PDC", "alice", 3, buf), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "longer"), nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetGroupAddUser("\\\\PDC", "Sales", "carol"), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetUserModalsSet("\\\\PDC", 0, USER_MODALS_INFO_0{}, nullptr), ERROR_ACCESS_DENIED);
  EXPECT_EQ(DoRAS("\\\\PDC", "alice", 0, "", 0), 0);

  // An account operator manages accounts but not the Administrators group or policy.
  lab->logOn("LAB\\opsuser");
  EXPECT_EQ(userEnum("\\\\PDC", 3, buf), NERR_Success);
  EXPECT_EQ(NetGroupAddUser("\\\\PDC", "Sales", "carol"), NERR_Success);
  const std::string who[] = {"LAB\\carol"};
  EXPECT_EQ(NetLocalGroupAddMembers("\\\\PDC", "Administrators", 3, {}, who), ERROR_ACCESS_DENIED);
  EXPECT_EQ(NetUserModalsSet("\\\\PDC", 0, USER_MODALS_INFO_0{}, nullptr), ERROR_ACCESS_DENIED);
}

TEST(LabRights, RefusalsAndRequestNotAccepted) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  NetBuffer buf;
  DWORD returned = 0, read = 0, total = 0;
  EXPECT_EQ(NetQueryDisplayInformation("\\\\MEMBER", 1, 0, 10, MAX_PREFERRED_LENGTH, &returned, buf), ERROR_ACCESS_DENIED);
  ASSERT_TRUE(lab->refuseOperation("WKS", "NetServerEnum", ERROR_REQ_NOT_ACCEP));
  EXPECT_EQ(NetServerEnum("", 101, buf, MAX_PREFERRED_LENGTH, &read, &total, SV_TYPE_ALL, "", nullptr), ERROR_REQ_NOT_ACCEP);
}

TEST(LabControllers, BackupControllerAnswersWithItsOwnStatisticsAndOrder) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  NetBuffer pdc, bdc;
  ASSERT_EQ(userEnum("\\\\PDC", 3, pdc), NERR_Success);
  ASSERT_EQ(userEnum("\\\\BDC", 3, bdc), NERR_Success);
  ASSERT_EQ(pdc.get<USER_INFO_3>().size(), 5u) << "trust accounts are not normal accounts";
  ASSERT_EQ(bdc.get<USER_INFO_3>().size(), 4u) << "opsuser is not replicated to the BDC yet";
  EXPECT_EQ(pdc.get<USER_INFO_3>()[0].usri3_name, "Administrator");
  EXPECT_EQ(bdc.get<USER_INFO_3>()[0].usri3_name, "carol");
  const auto& adminPdc = pdc.get<USER_INFO_3>()[0];
  const auto& adminBdc = bdc.get<USER_INFO_3>()[2];
  EXPECT_EQ(adminPdc.usri3_num_logons, 7u);
  EXPECT_EQ(adminPdc.usri3_last_logon, 1000u);
  EXPECT_EQ(adminBdc.usri3_num_logons, 3u);
  EXPECT_EQ(adminBdc.usri3_last_logoff, 2100u);
  // Writes go to the primary only.
  EXPECT_EQ(NetUserAdd("\\\\BDC", 1, newUser("dave", "longer"), nullptr), NERR_NotPrimary);
  std::string dc;
  EXPECT_EQ(NetGetDCName("", "", &dc), NERR_Success);
  EXPECT_EQ(dc, "\\\\PDC");
  EXPECT_EQ(NetGetDCName("", "NOWHERE", &dc), NERR_DCNotFound);
}

TEST(LabAccounts, WritesKeepWindowsStatusCodes) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  DWORD parm = 0;
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("alice", "longer"), &parm), NERR_UserExists);
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "abc"), &parm), NERR_PasswordTooShort);
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("bad/name", "longer"), &parm), ERROR_INVALID_PARAMETER);
  EXPECT_EQ(parm, 1u);
  EXPECT_EQ(NetUserAdd("\\\\PDC", 3, newUser("dave", ""), &parm), ERROR_INVALID_LEVEL);
  EXPECT_EQ(NetUserAdd("\\\\PDC", 1, newUser("dave", "longer", UF_SCRIPT | UF_PASSWD_NOTREQD), &parm), NERR_Success);
  NetBuffer buf;
  ASSERT_EQ(NetUserGetInfo("\\\\PDC", "dave", 3, buf), NERR_Success);
  EXPECT_TRUE(buf.one<USER_INFO_3>()->usri3_flags & UF_NORMAL_ACCOUNT);
  EXPECT_EQ(NetGroupAddUser("\\\\PDC", "Sales", "alice"), NERR_UserInGroup);
  EXPECT_EQ(NetGroupAddUser("\\\\PDC", "Nobody", "alice"), NERR_GroupNotFound);
  EXPECT_EQ(NetGroupDelUser("\\\\PDC", "Sales", "carol"), NERR_UserNotInGroup);
  // An account stays in its primary group: NT refuses to take it out.
  EXPECT_EQ(NetGroupDelUser("\\\\PDC", "Domain Users", "alice"), ERROR_MEMBERS_PRIMARY_GROUP);
  DWORD read = 0, total = 0, resume = 0;
  ASSERT_EQ(NetGroupGetUsers("\\\\PDC", "Domain Users", 0, buf, MAX_PREFERRED_LENGTH, &read,
                             &total, &resume),
            NERR_Success);
  const auto stays = buf.get<GROUP_USERS_INFO_0>();
  EXPECT_TRUE(std::ranges::any_of(stays, [](const auto& m) { return m.grui0_name == "alice"; }));
  const std::string paul[] = {"PARTNER\\paul"};
  EXPECT_EQ(NetLocalGroupAddMembers("\\\\PDC", "Shared", 3, {}, paul), ERROR_MEMBER_IN_ALIAS);
  const std::string ghost[] = {"PARTNER\\ghost"};
  EXPECT_EQ(NetLocalGroupAddMembers("\\\\PDC", "Shared", 3, {}, ghost), ERROR_NO_SUCH_MEMBER);
  // Clearing a lockout works; setting one by hand does not.
  EXPECT_EQ(NetUserSetInfo("\\\\PDC", "bob", 1008, USER_INFO_1008{UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_LOCKOUT}, nullptr), NERR_Success);
  ASSERT_EQ(NetUserGetInfo("\\\\PDC", "bob", 3, buf), NERR_Success);
  EXPECT_FALSE(buf.one<USER_INFO_3>()->usri3_flags & UF_LOCKOUT);
}

// Which accounts each list shows follows the account type bits alone.
TEST(LabAccounts, AccountTypeDecidesTheListsAnAccountShowsIn) {
  std::string error;
  auto lab = lab::labFromJson(R"({"format": 1, "localMachine": "DC", "loggedOn": "T\\ann",
    "domains": [{"name": "T", "sid": "S-1-5-21-7-8-9", "pdc": "DC",
      "users": [{"name": "ann"},
                {"name": "WKS$", "flags": ["UF_SCRIPT", "UF_WORKSTATION_TRUST_ACCOUNT"]},
                {"name": "SRV$", "flags": ["UF_SCRIPT", "UF_SERVER_TRUST_ACCOUNT"]},
                {"name": "OTHER$", "flags": ["UF_SCRIPT", "UF_INTERDOMAIN_TRUST_ACCOUNT"]},
                {"name": "dup", "flags": ["UF_SCRIPT", "UF_TEMP_DUPLICATE_ACCOUNT"]}],
      "localGroups": [{"name": "Administrators", "rid": 544, "members": ["ann"]}]}],
    "machines": [{"name": "DC", "domain": "T",
                  "type": ["SV_TYPE_SERVER", "SV_TYPE_DOMAIN_CTRL", "SV_TYPE_NT"]}]})",
                              "types.json", &error);
  ASSERT_TRUE(lab) << error;
  LabFixture fixture(lab);
  auto display = [](DWORD level) {
    NetBuffer buf;
    DWORD returned = 0;
    EXPECT_EQ(NetQueryDisplayInformation("DC", level, 0, 100, MAX_PREFERRED_LENGTH, &returned, buf), NERR_Success);
    std::vector<std::string> names;
    if (level == 1) for (const auto& e : buf.get<NET_DISPLAY_USER>()) names.push_back(e.usri1_name);
    else for (const auto& e : buf.get<NET_DISPLAY_MACHINE>()) names.push_back(e.usri2_name);
    return names;
  };
  auto enumerate = [](DWORD filter) {
    NetBuffer buf;
    DWORD read = 0, total = 0, resume = 0;
    EXPECT_EQ(NetUserEnum("DC", 0, filter, buf, MAX_PREFERRED_LENGTH, &read, &total, &resume), NERR_Success);
    std::vector<std::string> names;
    for (const auto& e : buf.get<USER_INFO_0>()) names.push_back(e.usri0_name);
    return names;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(display(1), Names{"ann"});
  EXPECT_EQ(display(2), (Names{"SRV$", "WKS$"}));
  EXPECT_EQ(enumerate(FILTER_NORMAL_ACCOUNT), Names{"ann"});
  EXPECT_EQ(enumerate(FILTER_INTERDOMAIN_TRUST_ACCOUNT), Names{"OTHER$"});
  EXPECT_EQ(enumerate(FILTER_TEMP_DUPLICATE_ACCOUNT), Names{"dup"});
  EXPECT_EQ(enumerate(0).size(), 5u);
}

TEST(LabAccounts, LocalGroupsDirectAndIndirectAndDeletedMembers) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  NetBuffer buf;
  DWORD read = 0, total = 0, resume = 0;
  ASSERT_EQ(NetUserGetLocalGroups("\\\\PDC", "alice", 0, 0, buf, MAX_PREFERRED_LENGTH, &read, &total), NERR_Success);
  EXPECT_EQ(read, 0u);
  ASSERT_EQ(NetUserGetLocalGroups("\\\\PDC", "alice", 0, LG_INCLUDE_INDIRECT, buf, MAX_PREFERRED_LENGTH, &read, &total), NERR_Success);
  ASSERT_EQ(read, 2u);  // Users (through Domain Users) and Shared (through Sales)
  ASSERT_EQ(NetLocalGroupGetMembers("\\\\PDC", "Shared", 2, buf, MAX_PREFERRED_LENGTH, &read, &total, &resume), NERR_Success);
  const auto members = buf.get<LOCALGROUP_MEMBERS_INFO_2>();
  ASSERT_EQ(members.size(), 4u);
  EXPECT_EQ(members[0].lgrmi2_domainandname, "LAB\\Sales");
  EXPECT_EQ(members[0].lgrmi2_sidusage, SidTypeGroup);
  EXPECT_EQ(members[2].lgrmi2_domainandname, "PARTNER\\paul");
  EXPECT_EQ(members[3].lgrmi2_sidusage, SidTypeDeletedAccount);

  std::string name, domain;
  SID_NAME_USE use = SidTypeUnknown;
  EXPECT_EQ(LookupAccountSid("", members[3].lgrmi2_sid, &name, &domain, &use), ERROR_SUCCESS);
  EXPECT_EQ(use, SidTypeDeletedAccount);
  SID sid;
  EXPECT_EQ(LookupAccountName("\\\\PDC", "paul", &sid, &domain, &use), ERROR_SUCCESS);
  EXPECT_EQ(domain, "PARTNER");
  EXPECT_EQ(sid, members[2].lgrmi2_sid);
  EXPECT_EQ(LookupAccountName("\\\\PDC", "nobody", &sid, &domain, &use), ERROR_NONE_MAPPED);
  EXPECT_EQ(LookupAccountName("\\\\NOSUCH", "alice", &sid, &domain, &use), ERROR_BAD_NETPATH);

  // A deleted user's SID stays in another machine's group and still answers.
  ASSERT_EQ(NetUserDel("\\\\PDC", "carol"), NERR_Success);
  EXPECT_EQ(NetUserDel("\\\\PDC", "Administrator"), ERROR_SPECIAL_ACCOUNT);
}

TEST(LabServers, BrowseListFiltersByTypeAndHidesHiddenServers) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  NetBuffer buf;
  DWORD read = 0, total = 0;
  ASSERT_EQ(NetServerEnum("", 100, buf, MAX_PREFERRED_LENGTH, &read, &total,
                          SV_TYPE_DOMAIN_CTRL | SV_TYPE_DOMAIN_BAKCTRL, "", nullptr), NERR_Success);
  ASSERT_EQ(read, 2u);
  EXPECT_EQ(buf.get<SERVER_INFO_100>()[0].sv100_name, "BDC");
  ASSERT_EQ(NetServerEnum("", 101, buf, MAX_PREFERRED_LENGTH, &read, &total, SV_TYPE_ALL, "", nullptr), NERR_Success);
  for (const auto& s : buf.get<SERVER_INFO_101>()) EXPECT_NE(s.sv101_name, "HIDDEN");
  EXPECT_EQ(read, 5u);  // PDC BDC MEMBER DOWN WKS: the browse list still knows DOWN
  ASSERT_EQ(NetWkstaGetInfo("", 100, buf), NERR_Success);
  EXPECT_EQ(buf.one<WKSTA_INFO_100>()->wki100_langroup, "LAB");
}

TEST(LabSystem, DialinVersionAndEventLog) {
  LabFixture lab("platform-small");
  ASSERT_TRUE(lab) << lab.error();
  DWORD allowed = 0, type = 9;
  std::string number;
  ASSERT_NE(GetRASQuick("\\\\PDC", "alice", &allowed, &number, &type), 0);
  EXPECT_EQ(allowed, 1u);
  EXPECT_EQ(number, "555-0100");
  EXPECT_EQ(type, RAS_CALLBACK_PRESET);
  EXPECT_EQ(GetRAS("\\\\PDC", "nobody", &allowed, &number, &type), 0);
  EXPECT_EQ(GetRAS("\\\\DOWN", "alice", &allowed, &number, &type), 0);
  ASSERT_NE(DoRAS("\\\\PDC", "bob", 1, "", RAS_CALLBACK_USER_SET), 0);
  ASSERT_NE(GetRAS("\\\\PDC", "bob", &allowed, &number, &type), 0);
  EXPECT_EQ(type, RAS_CALLBACK_USER_SET);

  OSVERSIONINFOA v;
  ASSERT_NE(GetVersionEx(&v), 0);
  EXPECT_EQ(v.dwPlatformId, VER_PLATFORM_WIN32_NT);
  EXPECT_EQ(v.dwBuildNumber, 1381u);
  std::string name;
  ASSERT_NE(GetUserName(&name), 0);
  EXPECT_EQ(name, "Administrator");

  lab->setClock(1234567);
  const HANDLE h = RegisterEventSource("", "Veltrane");
  ASSERT_NE(h, 0u);
  ASSERT_NE(ReportEvent(h, EVENTLOG_INFORMATION_TYPE, 0, 59271, {"User Added:   dave"}), 0);
  DeregisterEventSource(h);
  const auto log = lab->eventLog("WKS");
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].eventId, 59271u);
  EXPECT_EQ(log[0].timeWritten, 1234567);
  EXPECT_EQ(log[0].strings.at(0), "User Added:   dave");
}

}  // namespace
