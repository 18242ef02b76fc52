#include "platform/lab/account_rules.h"

#include <algorithm>

#include "platform/lab/password_hash.h"
#include "platform/lab/text_rules.h"
#include "platform/types.h"

namespace lab {

using namespace platform;

namespace {

constexpr std::size_t kMaxPasswordHistory = 24;

DWORD refuse(DWORD parmnum, DWORD* parm_err) {
  if (parm_err) *parm_err = parmnum;
  return ERROR_INVALID_PARAMETER;
}

bool keepable(std::string_view text, std::size_t maxLength) {
  return isWritableText(text) && utf16Length(text) <= maxLength;
}

}  // namespace

DWORD checkUserTexts(const User& before, const User& after, DWORD* parm_err) {
  struct Rule {
    std::string USER_INFO_3::*field;
    std::size_t maxLength;
    DWORD parmnum;
  };
  static constexpr Rule kRules[] = {
      {&USER_INFO_3::usri3_home_dir, kMaxAccountTextLength, USER_HOME_DIR_PARMNUM},
      {&USER_INFO_3::usri3_comment, kMaxAccountTextLength, USER_COMMENT_PARMNUM},
      {&USER_INFO_3::usri3_script_path, kMaxAccountTextLength, USER_SCRIPT_PATH_PARMNUM},
      {&USER_INFO_3::usri3_full_name, kMaxAccountTextLength, USER_FULL_NAME_PARMNUM},
      {&USER_INFO_3::usri3_usr_comment, kMaxAccountTextLength, USER_USR_COMMENT_PARMNUM},
      {&USER_INFO_3::usri3_parms, kMaxAccountTextLength, USER_PARMS_PARMNUM},
      {&USER_INFO_3::usri3_workstations, kMaxAccountTextLength, USER_WORKSTATIONS_PARMNUM},
      {&USER_INFO_3::usri3_profile, kMaxAccountTextLength, USER_PROFILE_PARMNUM},
      {&USER_INFO_3::usri3_home_dir_drive, kMaxAccountTextLength, USER_HOME_DIR_DRIVE_PARMNUM},
  };
  for (const auto& rule : kRules) {
    const std::string& now = after.info.*rule.field;
    if (now != before.info.*rule.field && !keepable(now, rule.maxLength)) {
      return refuse(rule.parmnum, parm_err);
    }
  }
  return NERR_Success;
}

DWORD setPassword(User& u, const Policy& policy, std::string_view password, std::int64_t now,
                  bool newAccount, DWORD* parm_err) {
  if (!keepable(password, kMaxPasswordLength)) return refuse(USER_PASSWORD_PARMNUM, parm_err);
  const auto fail = [&](DWORD status) {
    if (parm_err) *parm_err = USER_PASSWORD_PARMNUM;
    return status;
  };
  if (utf16Length(password) < policy.modals0.usrmod0_min_passwd_len) {
    return fail(NERR_PasswordTooShort);
  }
  // The history counts the current password as the first remembered one.
  // At most as many as NT keeps, so that a lab file asking for more cannot
  // make every password change check thousands of hashes.
  const std::size_t remembered =
      std::min<std::size_t>(policy.modals0.usrmod0_password_hist_len, kMaxPasswordHistory);
  if (!newAccount && remembered > 0) {
    const std::size_t older = std::min(remembered - 1, u.passwordHistory.size());
    const bool reused =
        passwordMatches(u.passwordHash, password) ||
        std::any_of(u.passwordHistory.begin(), u.passwordHistory.begin() + older,
                    [&](const std::string& h) { return passwordMatches(h, password); });
    if (reused) return fail(NERR_PasswordTooShort);
  }
  auto hash = hashPassword(password);
  if (!hash) return ERROR_NOT_ENOUGH_MEMORY;
  if (!newAccount && remembered > 1) {
    u.passwordHistory.insert(u.passwordHistory.begin(), std::move(u.passwordHash));
  }
  u.passwordHistory.resize(std::min(u.passwordHistory.size(), remembered > 0 ? remembered - 1 : 0));
  u.passwordHash = std::move(*hash);
  u.passwordLastSet = now;
  return NERR_Success;
}

}  // namespace lab
