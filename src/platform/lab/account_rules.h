#pragma once
// What a change must satisfy before the lab keeps it in an account: texts it
// can write back, within the lengths of the systems simulated, and passwords
// that meet the database's policy (length and history), kept only as hashes.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/lab/hash_ahead.h"
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

// A password made ready before the lab's write lock is taken: its hash, and
// for a change its comparison with the hashes the account remembers, are the
// slow part of setting it, and no other call should wait for them.
struct NewPassword {
  std::string_view text;
  // The hash of `text` (kNoPasswordMatches for platform::kUnknownPassword);
  // nothing when the memory could not be had, or `text` cannot be a password.
  std::optional<std::string> hash;
  // The remembered hashes `text` was compared with, and whether one matched.
  std::vector<std::string> compared;
  bool reused = false;

  bool unknown() const;
};

// Hashes `text`, taking the hash `ahead` made of it if there is one.
NewPassword preparePassword(std::string_view text, HashAhead& ahead);
// Compares `p` with the hashes `u` remembers under `policy`, for a change of
// an existing account (setPassword compares again if they changed since).
void compareWithRemembered(NewPassword& p, const User& u, const Policy& policy);

// Gives `u` the password `p` under `policy`: ERROR_INVALID_PARAMETER (with
// USER_PASSWORD_PARMNUM) for text that cannot be a password or is longer than
// the API allows, NERR_PasswordTooShort for one shorter than the policy's
// minimum or, unless `newAccount`, one of the last passwords the history
// remembers (the current one among them). On success the hash replaces the
// password's and the old hash joins the history. A password nobody knows
// meets every policy and leaves the history alone.
DWORD setPassword(User& u, const Policy& policy, NewPassword& p, std::int64_t now,
                  bool newAccount, DWORD* parm_err);

}  // namespace lab
