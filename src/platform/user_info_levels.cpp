#include "platform/user_info_levels.h"

namespace platform {

USER_INFO_0 userInfo0(const USER_INFO_3& full) { return {full.usri3_name}; }

USER_INFO_1 userInfo1(const USER_INFO_3& full) {
  USER_INFO_1 one;
  one.usri1_name = full.usri3_name;
  one.usri1_password_age = full.usri3_password_age;
  one.usri1_priv = full.usri3_priv;
  one.usri1_home_dir = full.usri3_home_dir;
  one.usri1_comment = full.usri3_comment;
  one.usri1_flags = full.usri3_flags;
  one.usri1_script_path = full.usri3_script_path;
  return one;
}

void applyUserInfo1(const USER_INFO_1& one, USER_INFO_3& full) {
  full.usri3_home_dir = one.usri1_home_dir;
  full.usri3_comment = one.usri1_comment;
  full.usri3_flags = one.usri1_flags;
  full.usri3_script_path = one.usri1_script_path;
}

USER_INFO_3 userInfo3(const USER_INFO_1& one) {
  USER_INFO_3 full;
  full.usri3_name = one.usri1_name;
  full.usri3_password = one.usri1_password;
  full.usri3_priv = one.usri1_priv;
  applyUserInfo1(one, full);
  return full;
}

}  // namespace platform
