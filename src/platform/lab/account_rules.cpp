#include "platform/lab/account_rules.h"

#include <algorithm>

#include "platform/lab/password_hash.h"
#include "platform/lab/text_rules.h"
#include "platform/netapi.h"
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

bool NewPassword::unknown() const { return text == kUnknownPassword; }

NewPassword preparePassword(std::string_view text, HashAhead& ahead) {
  NewPassword p{text, std::nullopt, {}, false};
  if (p.unknown()) {
    p.hash = std::string(kNoPasswordMatches);
  } else if (keepable(text, kMaxPasswordLength)) {
    auto made = ahead.take(text);
    p.hash = made ? std::move(*made) : hashPassword(text);
  }
  return p;
}

namespace {

// The hashes a new password must differ from: the current one first, then
// as many older ones as the history counts, at most as many as NT keeps, so
// that a lab file asking for more cannot make every change check thousands.
std::vector<std::string> rememberedHashes(const User& u, const Policy& policy) {
  const std::size_t remembered =
      std::min<std::size_t>(policy.modals0.usrmod0_password_hist_len, kMaxPasswordHistory);
  if (remembered == 0) return {};
  std::vector<std::string> hashes{u.passwordHash};
  const std::size_t older = std::min(remembered - 1, u.passwordHistory.size());
  hashes.insert(hashes.end(), u.passwordHistory.begin(), u.passwordHistory.begin() + older);
  return hashes;
}

bool matchesAny(const std::vector<std::string>& hashes, std::string_view password) {
  return std::any_of(hashes.begin(), hashes.end(),
                     [&](const std::string& h) { return passwordMatches(h, password); });
}

}  // namespace

void compareWithRemembered(NewPassword& p, const User& u, const Policy& policy) {
  if (p.unknown() || !p.hash) return;
  p.compared = rememberedHashes(u, policy);
  p.reused = matchesAny(p.compared, p.text);
}

DWORD setPassword(User& u, const Policy& policy, NewPassword& p, std::int64_t now,
                  bool newAccount, DWORD* parm_err) {
  const std::string_view password = p.text;
  if (!p.unknown()) {
    if (!keepable(password, kMaxPasswordLength)) return refuse(USER_PASSWORD_PARMNUM, parm_err);
    const auto fail = [&](DWORD status) {
      if (parm_err) *parm_err = USER_PASSWORD_PARMNUM;
      return status;
    };
    if (utf16Length(password) < policy.modals0.usrmod0_min_passwd_len) {
      return fail(NERR_PasswordTooShort);
    }
    if (!newAccount) {
      // Compared again here only when another change came in between.
      const auto hashes = rememberedHashes(u, policy);
      const bool reused = hashes == p.compared ? p.reused : matchesAny(hashes, password);
      if (reused) return fail(NERR_PasswordTooShort);
    }
  }
  if (!p.hash) return ERROR_NOT_ENOUGH_MEMORY;
  const std::size_t remembered =
      std::min<std::size_t>(policy.modals0.usrmod0_password_hist_len, kMaxPasswordHistory);
  // The mark of a password nobody knows is no password to remember.
  if (!newAccount && remembered > 1 && u.passwordHash != kNoPasswordMatches) {
    u.passwordHistory.insert(u.passwordHistory.begin(), std::move(u.passwordHash));
  }
  u.passwordHistory.resize(std::min(u.passwordHistory.size(), remembered > 0 ? remembered - 1 : 0));
  u.passwordHash = std::move(*p.hash);
  p.hash.reset();
  u.passwordLastSet = now;
  return NERR_Success;
}

}  // namespace lab
