#include "platform/samba/account_fields.h"

#include "platform/dialin.h"
#include "platform/samba/password_change_right.h"
#include "platform/samba/rpc_pipe.h"

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace platform::samba {
namespace {

constexpr std::int64_t kNtEpochOffset = 11644473600LL;  // seconds from 1601 to 1970
constexpr std::int64_t kNtUnitsPerSecond = 10000000LL;
constexpr std::int64_t kNtNever = std::numeric_limits<std::int64_t>::max();

// Bits of userAccountControl, which are the UF_ flags, that the platform
// reports; the controller keeps lock-out and password expiry elsewhere.
constexpr std::uint32_t kReportedControlBits =
    UF_ACCOUNTDISABLE | UF_HOMEDIR_REQUIRED | UF_PASSWD_NOTREQD | UF_PASSWD_CANT_CHANGE |
    UF_TEMP_DUPLICATE_ACCOUNT | UF_NORMAL_ACCOUNT | UF_INTERDOMAIN_TRUST_ACCOUNT |
    UF_WORKSTATION_TRUST_ACCOUNT | UF_SERVER_TRUST_ACCOUNT | UF_DONT_EXPIRE_PASSWD;
// The controller's computed account-control bit for an expired password
// (the platform reports it in usri3_password_expired, not in the flags).
constexpr std::uint32_t kPasswordExpiredComputed = 0x800000;
constexpr DWORD kTrustAccounts =
    UF_INTERDOMAIN_TRUST_ACCOUNT | UF_WORKSTATION_TRUST_ACCOUNT | UF_SERVER_TRUST_ACCOUNT;

constexpr DWORD kRidAdministrator = 500;
constexpr DWORD kRidGuest = 501;

struct FlagBit {
  DWORD uf;
  std::uint32_t acb;
};
// SAMR's account-control bits for the UF_ flags (UF_SCRIPT has none: it is
// always set).
constexpr FlagBit kAcbBits[] = {
    {UF_ACCOUNTDISABLE, 0x0001},           {UF_HOMEDIR_REQUIRED, 0x0002},
    {UF_PASSWD_NOTREQD, 0x0004},           {UF_TEMP_DUPLICATE_ACCOUNT, 0x0008},
    {UF_NORMAL_ACCOUNT, 0x0010},           {UF_INTERDOMAIN_TRUST_ACCOUNT, 0x0040},
    {UF_WORKSTATION_TRUST_ACCOUNT, 0x0080}, {UF_SERVER_TRUST_ACCOUNT, 0x0100},
    {UF_DONT_EXPIRE_PASSWD, 0x0200},       {UF_LOCKOUT, 0x0400},
};

std::string str(std::string_view s) { return std::string(s); }

// The age of a password set at NT time `set`: none for one never set, nor
// for one set ahead of `now`.
DWORD passwordAge(std::int64_t set, std::int64_t now) {
  const DWORD at = unixFromNtTime(set, 0);
  return at != 0 && now > at ? static_cast<DWORD>(now - at) : 0;
}

// An account's privilege level by its relative ID, as the controller's own
// administrator and guest accounts have them.
DWORD privilegeOf(DWORD rid) {
  return rid == kRidAdministrator ? USER_PRIV_ADMIN
         : rid == kRidGuest       ? USER_PRIV_GUEST
                                  : USER_PRIV_USER;
}

}  // namespace

const std::vector<std::string>& userAttributes(bool withDescriptor, bool computed) {
  static const std::vector<std::string> kCommon = {
      "sAMAccountName", "displayName", "description", "comment", "userAccountControl",
      "homeDirectory", "homeDrive", "scriptPath",
      "profilePath", "userWorkstations", "pwdLastSet", "lastLogon", "lastLogonTimestamp",
      "lastLogoff", "maxStorage",
      "accountExpires", "logonHours", "badPwdCount", "logonCount", "countryCode", "codePage",
      "objectSid", "primaryGroupID"};
  const auto with = [](std::vector<std::string> more, bool descriptor) {
    std::vector<std::string> all = kCommon;
    all.insert(all.end(), more.begin(), more.end());
    if (descriptor) all.emplace_back("nTSecurityDescriptor");
    return all;
  };
  const std::vector<std::string> kComputed = {"msDS-User-Account-Control-Computed",
                                              "msDS-UserPasswordExpiryTimeComputed"};
  static const std::vector<std::string> kSets[2][2] = {
      {with({"lockoutTime"}, false), with({"lockoutTime"}, true)},
      {with(kComputed, false), with(kComputed, true)}};
  return kSets[computed ? 1 : 0][withDescriptor ? 1 : 0];
}

const std::vector<std::string>& policyAttributes() {
  static const std::vector<std::string> kAttributes = {"maxPwdAge", "lockoutDuration"};
  return kAttributes;
}

DomainPolicy policyFromEntry(const DirectoryEntry& domain) {
  // Both are stored as negative intervals; the most negative one is "never".
  const long long minimum = std::numeric_limits<long long>::min();
  DomainPolicy policy;
  const long long maxAge = domain.number("maxPwdAge");
  policy.maxPasswordAge = maxAge == minimum ? 0 : -maxAge;
  const long long duration = domain.number("lockoutDuration");
  policy.lockoutForever = duration == minimum;
  policy.lockoutDuration = policy.lockoutForever ? 0 : -duration;
  return policy;
}

const std::vector<std::string>& dialinAttributes() {
  static const std::vector<std::string> kAttributes = {
      "msNPAllowDialin", "msRADIUSServiceType", "msRADIUSCallbackNumber"};
  return kAttributes;
}

DialinState dialinFromEntry(const DirectoryEntry& e) {
  // Call-back is service type 4 ("callback framed"); with a number the
  // administrator preset it, without one the caller sets it.
  constexpr long long kCallbackFramed = 4;
  DialinState d;
  d.allowed = e.text("msNPAllowDialin") == "TRUE" ? 1 : 0;
  d.callbackNumber = str(e.text("msRADIUSCallbackNumber"));
  if (e.number("msRADIUSServiceType") == kCallbackFramed) {
    d.callbackType = d.callbackNumber.empty() ? RAS_CALLBACK_USER_SET : RAS_CALLBACK_PRESET;
  } else {
    d.callbackType = RAS_CALLBACK_NONE;
  }
  return d;
}

DWORD flagsFromAccountControl(std::uint32_t accountControl) {
  return UF_SCRIPT | (accountControl & kReportedControlBits);
}

bool passwordChangeDenied(const DirectoryEntry& e) {
  return deniesPasswordChange(e.text("nTSecurityDescriptor"));
}

DWORD accountFlags(const DirectoryEntry& e) {
  const DWORD flags =
      flagsFromAccountControl(static_cast<std::uint32_t>(e.number("userAccountControl"))) &
      ~UF_PASSWD_CANT_CHANGE;
  return passwordChangeDenied(e) ? flags | UF_PASSWD_CANT_CHANGE : flags;
}

DWORD reportedFlags(DWORD flags) {
  return flags & (UF_SCRIPT | UF_LOCKOUT | kReportedControlBits);
}

std::uint32_t acbFromFlags(DWORD flags) {
  std::uint32_t acb = 0;
  for (const FlagBit& bit : kAcbBits) {
    if (flags & bit.uf) acb |= bit.acb;
  }
  return acb;
}

DWORD flagsFromAcb(std::uint32_t acb) {
  DWORD flags = UF_SCRIPT;
  for (const FlagBit& bit : kAcbBits) {
    if (acb & bit.acb) flags |= bit.uf;
  }
  return flags;
}

DWORD unixFromNtTime(std::int64_t nt, DWORD never) {
  if (nt == 0 || nt == kNtNever) return never;
  const std::int64_t seconds = nt / kNtUnitsPerSecond - kNtEpochOffset;
  if (seconds <= 0) return 0;
  if (seconds >= static_cast<std::int64_t>(TIMEQ_FOREVER)) return TIMEQ_FOREVER - 1;
  return static_cast<DWORD>(seconds);
}

std::int64_t ntTimeFromUnix(DWORD seconds) {
  return (static_cast<std::int64_t>(seconds) + kNtEpochOffset) * kNtUnitsPerSecond;
}

DWORD ridOf(const std::string& sid) {
  const auto dash = sid.rfind('-');
  if (dash == std::string::npos) return 0;
  return static_cast<DWORD>(std::strtoul(sid.c_str() + dash + 1, nullptr, 10));
}

USER_INFO_3 userFromEntry(const DirectoryEntry& e, std::int64_t now, const DomainPolicy* policy) {
  const std::int64_t ntNow = ntTimeFromUnix(static_cast<DWORD>(now));
  USER_INFO_3 u;
  u.usri3_name = str(e.text("sAMAccountName"));
  u.usri3_full_name = str(e.text("displayName"));
  u.usri3_comment = str(e.text("description"));
  u.usri3_usr_comment = str(e.text("comment"));
  u.usri3_flags = accountFlags(e);
  const auto control = static_cast<std::uint32_t>(e.number("userAccountControl"));
  const auto computed =
      static_cast<std::uint32_t>(e.number("msDS-User-Account-Control-Computed"));
  if (policy) {
    // As the controller computes it for an account under the domain's
    // policy: trust accounts are never locked out.
    const std::int64_t lockedAt = e.number("lockoutTime");
    if (lockedAt > 0 && !(control & kTrustAccounts) &&
        (policy->lockoutForever || ntNow < lockedAt + policy->lockoutDuration))
      u.usri3_flags |= UF_LOCKOUT;
  } else if (computed & UF_LOCKOUT) {
    u.usri3_flags |= UF_LOCKOUT;
  }
  u.usri3_home_dir = str(e.text("homeDirectory"));
  u.usri3_home_dir_drive = str(e.text("homeDrive"));
  u.usri3_script_path = str(e.text("scriptPath"));
  u.usri3_profile = str(e.text("profilePath"));
  u.usri3_workstations = str(e.text("userWorkstations"));
  // A password never set (or to be changed at next logon) has no age.
  u.usri3_password_age = passwordAge(e.number("pwdLastSet"), now);
  // The controller's expiry time is 0 for a password to be changed at the
  // next logon and the largest value for one that never expires; absent
  // (an account it computes nothing for) is not expired either.
  bool expired = false;
  if (policy) {
    // A password that never expires is not expired even when it must be
    // changed; one set at 0 must be changed at the next logon.
    const std::int64_t setAt = e.number("pwdLastSet");
    const bool expires = !(control & (UF_DONT_EXPIRE_PASSWD | kTrustAccounts));
    expired = expires && (setAt == 0 || (policy->maxPasswordAge != 0 &&
                                         ntNow > setAt + policy->maxPasswordAge));
  } else {
    const std::int64_t mustChangeAt =
        e.number("msDS-UserPasswordExpiryTimeComputed", kNtNever);
    expired = (computed & kPasswordExpiredComputed) ||
              (mustChangeAt != kNtNever && mustChangeAt <= ntNow);
  }
  u.usri3_password_expired = expired ? 1 : 0;
  // lastLogon is this controller's own (not replicated, and not kept by
  // every logon path); lastLogonTimestamp is replicated but may be up to 14
  // days old. The later of the two is the best this controller knows.
  u.usri3_last_logon = unixFromNtTime(
      std::max(e.number("lastLogon"), e.number("lastLogonTimestamp")), 0);
  u.usri3_last_logoff = unixFromNtTime(e.number("lastLogoff"), 0);
  u.usri3_acct_expires = unixFromNtTime(e.number("accountExpires"), TIMEQ_FOREVER);
  const std::string_view hours = e.text("logonHours");
  u.usri3_logon_hours.assign(hours.begin(), hours.end());
  u.usri3_bad_pw_count = static_cast<DWORD>(e.number("badPwdCount"));
  u.usri3_num_logons = static_cast<DWORD>(e.number("logonCount"));
  u.usri3_country_code = static_cast<DWORD>(e.number("countryCode"));
  u.usri3_code_page = static_cast<DWORD>(e.number("codePage"));
  // Absent is unlimited; a larger number than 32 bits hold is as good.
  const long long storage = e.number("maxStorage", -1);
  u.usri3_max_storage = storage < 0 || storage > 0xFFFFFFFFLL
                            ? USER_MAXSTORAGE_UNLIMITED
                            : static_cast<DWORD>(storage);
  u.usri3_user_id = ridOf(e.sid());
  u.usri3_primary_group_id = static_cast<DWORD>(e.number("primaryGroupID", 513));
  u.usri3_priv = privilegeOf(u.usri3_user_id);
  u.usri3_logon_server = "\\\\*";
  return u;
}

}  // namespace platform::samba

namespace platform::samba {

USER_INFO_3 userFromAccount(const vt_samr_account& a, std::int64_t now) {
  USER_INFO_3 u;
  u.usri3_name = a.name;
  u.usri3_full_name = a.full_name;
  u.usri3_comment = a.description;
  u.usri3_usr_comment = a.comment;
  u.usri3_parms =
      utf8FromUtf16(std::span<const std::uint8_t>(a.parameters, a.parameters ? a.parameters_size : 0));
  u.usri3_flags = reportedFlags(flagsFromAcb(a.acct_flags)) |
                  (a.cannot_change_password ? UF_PASSWD_CANT_CHANGE : 0);
  u.usri3_home_dir = a.home_directory;
  u.usri3_home_dir_drive = a.home_drive;
  u.usri3_script_path = a.logon_script;
  u.usri3_profile = a.profile_path;
  u.usri3_workstations = a.workstations;
  u.usri3_password_age = passwordAge(static_cast<std::int64_t>(a.last_password_change), now);
  u.usri3_password_expired = a.password_expired ? 1 : 0;
  u.usri3_last_logon = unixFromNtTime(static_cast<std::int64_t>(a.last_logon), 0);
  u.usri3_last_logoff = unixFromNtTime(static_cast<std::int64_t>(a.last_logoff), 0);
  const DWORD expires = unixFromNtTime(static_cast<std::int64_t>(a.acct_expiry), TIMEQ_FOREVER);
  u.usri3_acct_expires = expires == kPdcNeverExpires ? TIMEQ_FOREVER : expires;
  // Every hour of the week allowed is kept as "no limit".
  const std::size_t hourBytes = a.logon_hours ? a.units_per_week / 8u : 0;
  if (hourBytes > 0 && !std::all_of(a.logon_hours, a.logon_hours + hourBytes,
                                    [](std::uint8_t b) { return b == 0xFF; }))
    u.usri3_logon_hours.assign(a.logon_hours, a.logon_hours + hourBytes);
  if (a.units_per_week != 0) u.usri3_units_per_week = a.units_per_week;
  u.usri3_bad_pw_count = a.bad_password_count;
  u.usri3_num_logons = a.logon_count;
  u.usri3_country_code = a.country_code;
  u.usri3_code_page = a.code_page;
  // The account database keeps no storage limit.
  u.usri3_max_storage = USER_MAXSTORAGE_UNLIMITED;
  u.usri3_user_id = a.rid;
  u.usri3_primary_group_id = a.primary_gid;
  u.usri3_priv = privilegeOf(a.rid);
  u.usri3_logon_server = "\\\\*";
  return u;
}

}  // namespace platform::samba
