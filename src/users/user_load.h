#pragma once
// Reading what the user properties dialog shows when it opens, in each of
// its modes. Plain C++.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "users/user_fields.h"

namespace users {

// "********* Never *********" for 0, else the local time as
// "Thu Jan 01 10:00:00 1998 " (weekday and month names in English whatever
// the locale).
std::string lastLogonText(platform::DWORD secondsSince1970);

// One account: nothing when it cannot be read, since an OK on fields that
// were never read would blank the account.
std::optional<UserFields> loadSingleUser(std::string_view server, const std::string& name);

// A new account: every group of the server offered in "Not a member of".
UserFields loadNewUser(std::string_view server);

// Several accounts: each box ticked when all have the property, clear when
// none has, mixed otherwise; a group is in "All are members of" when every
// one of them is in it.
UserFields loadMultipleUsers(std::string_view server, std::vector<std::string> names);

// The membership lists of one account (or of a new one, `account` empty).
void loadMemberships(std::string_view server, UserFields& fields);

// The check boxes, full name, description, profile, script, home directory
// and logon limits from an account as read.
void takeRecord(UserFields& fields, const platform::USER_INFO_3& record);

}  // namespace users
