// The user structures' levels as every backend maps them: a browse at
// level 1 must show what level 3 holds, and a set at level 1 must leave
// alone what level 1 does not carry.

#include <gtest/gtest.h>

#include "platform/user_info_levels.h"

namespace {

using namespace platform;

USER_INFO_3 fullRecord() {
  USER_INFO_3 u;
  u.usri3_name = "jsmith";
  u.usri3_password = "secret";
  u.usri3_password_age = 3600;
  u.usri3_priv = USER_PRIV_ADMIN;
  u.usri3_home_dir = "\\\\LABFS\\HOME\\jsmith";
  u.usri3_comment = "Accounts";
  u.usri3_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_ACCOUNTDISABLE;
  u.usri3_script_path = "logon.cmd";
  u.usri3_full_name = "John Smith";
  u.usri3_primary_group_id = 1100;
  u.usri3_acct_expires = 86400;
  return u;
}

TEST(UserInfoLevels, ShorterLevelsShowTheFullRecordButNeverItsPassword) {
  const USER_INFO_3 full = fullRecord();
  EXPECT_EQ(userInfo0(full).usri0_name, "jsmith");
  const USER_INFO_1 one = userInfo1(full);
  EXPECT_EQ(one.usri1_name, "jsmith");
  EXPECT_TRUE(one.usri1_password.empty());
  EXPECT_EQ(one.usri1_password_age, 3600u);
  EXPECT_EQ(one.usri1_priv, static_cast<DWORD>(USER_PRIV_ADMIN));
  EXPECT_EQ(one.usri1_home_dir, full.usri3_home_dir);
  EXPECT_EQ(one.usri1_comment, "Accounts");
  EXPECT_EQ(one.usri1_flags, full.usri3_flags);
  EXPECT_EQ(one.usri1_script_path, "logon.cmd");
}

TEST(UserInfoLevels, ASetAtLevelOneLeavesWhatLevelOneDoesNotCarry) {
  USER_INFO_3 full = fullRecord();
  USER_INFO_1 one;
  one.usri1_name = "renamed";
  one.usri1_password = "other";
  one.usri1_priv = USER_PRIV_GUEST;
  one.usri1_home_dir = "";
  one.usri1_comment = "Sales";
  one.usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT;
  one.usri1_script_path = "sales.cmd";
  applyUserInfo1(one, full);
  EXPECT_TRUE(full.usri3_home_dir.empty());
  EXPECT_EQ(full.usri3_comment, "Sales");
  EXPECT_EQ(full.usri3_flags, one.usri1_flags);
  EXPECT_EQ(full.usri3_script_path, "sales.cmd");
  // Name, password and privilege are each backend's own business.
  EXPECT_EQ(full.usri3_name, "jsmith");
  EXPECT_EQ(full.usri3_password, "secret");
  EXPECT_EQ(full.usri3_priv, static_cast<DWORD>(USER_PRIV_ADMIN));
  EXPECT_EQ(full.usri3_full_name, "John Smith");
  EXPECT_EQ(full.usri3_primary_group_id, 1100u);
  EXPECT_EQ(full.usri3_acct_expires, 86400u);
}

TEST(UserInfoLevels, AnAddAtLevelOneGivesEveryOtherFieldItsNewAccountValue) {
  USER_INFO_1 one;
  one.usri1_name = "newbie";
  one.usri1_password = "a password of some length";
  one.usri1_comment = "New";
  one.usri1_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_DONT_EXPIRE_PASSWD;
  const USER_INFO_3 full = userInfo3(one);
  EXPECT_EQ(full.usri3_name, "newbie");
  EXPECT_EQ(full.usri3_password, one.usri1_password);
  EXPECT_EQ(full.usri3_priv, static_cast<DWORD>(USER_PRIV_USER));
  EXPECT_EQ(full.usri3_comment, "New");
  EXPECT_EQ(full.usri3_flags, one.usri1_flags);
  const USER_INFO_3 fresh;
  EXPECT_EQ(full.usri3_acct_expires, fresh.usri3_acct_expires);
  EXPECT_EQ(full.usri3_primary_group_id, fresh.usri3_primary_group_id);
  EXPECT_EQ(full.usri3_max_storage, fresh.usri3_max_storage);
  EXPECT_TRUE(full.usri3_full_name.empty());
}

}  // namespace
