#pragma once
// The user structures' levels mapped onto each other, once for every
// backend: a shorter level made from the full record (USER_INFO_3), and a
// shorter level's fields given to a full record, as a set or an add at that
// level changes them.

#include "platform/netapi.h"

namespace platform {

USER_INFO_0 userInfo0(const USER_INFO_3& full);
// Name, password age, privilege, home directory, comment, flags and logon
// script; never the password.
USER_INFO_1 userInfo1(const USER_INFO_3& full);

// What a set at level 1 changes of an account besides its name, password
// and privilege, which each backend treats in its own way: the home
// directory, comment, flags and logon script.
void applyUserInfo1(const USER_INFO_1& one, USER_INFO_3& full);
// The account an add at level 1 asks for: level 1's fields, every other
// field as a new account has it.
USER_INFO_3 userInfo3(const USER_INFO_1& one);

}  // namespace platform
