#pragma once
// What a change must satisfy before the lab keeps it in an account: texts it
// can write back, within the lengths of the systems simulated, and passwords
// that meet the database's policy (length and history), kept only as hashes.

#include <cstdint>
#include <string_view>

#include "platform/lab/model.h"

namespace lab {

// The parameter numbers the API reports in parm_err (lmaccess.h).
inline constexpr DWORD USER_NAME_PARMNUM = 1;
inline constexpr DWORD USER_PASSWORD_PARMNUM = 3;
inline constexpr DWORD USER_PRIV_PARMNUM = 5;
inline constexpr DWORD USER_HOME_DIR_PARMNUM = 6;
inline constexpr DWORD USER_COMMENT_PARMNUM = 7;
inline constexpr DWORD USER_FLAGS_PARMNUM = 8;
inline constexpr DWORD USER_SCRIPT_PATH_PARMNUM = 9;
inline constexpr DWORD USER_FULL_NAME_PARMNUM = 11;
inline constexpr DWORD USER_USR_COMMENT_PARMNUM = 12;
inline constexpr DWORD USER_PARMS_PARMNUM = 13;
inline constexpr DWORD USER_WORKSTATIONS_PARMNUM = 14;
inline constexpr DWORD USER_PRIMARY_GROUP_PARMNUM = 51;
inline constexpr DWORD USER_PROFILE_PARMNUM = 52;
inline constexpr DWORD USER_HOME_DIR_DRIVE_PARMNUM = 53;
inline constexpr DWORD GROUP_NAME_PARMNUM = 1;
inline constexpr DWORD GROUP_COMMENT_PARMNUM = 2;

// ERROR_INVALID_PARAMETER (with *parm_err) when a descriptive text of `after`
// that differs from `before` cannot be kept; texts left as they were are not
// judged again, so an account read from a file can always be changed.
DWORD checkUserTexts(const User& before, const User& after, DWORD* parm_err);

// Gives `u` a new password under `policy`: ERROR_INVALID_PARAMETER (with
// USER_PASSWORD_PARMNUM) for text that cannot be a password or is longer than
// the API allows, NERR_PasswordTooShort for one shorter than the policy's
// minimum or, unless `newAccount`, one of the last passwords the history
// remembers (the current one among them). On success the hash replaces the
// password's and the old hash joins the history.
DWORD setPassword(User& u, const Policy& policy, std::string_view password, std::int64_t now,
                  bool newAccount, DWORD* parm_err);

}  // namespace lab
