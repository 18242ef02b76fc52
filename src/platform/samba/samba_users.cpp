// Users: the browse and the properties read from the directory in one
// search each (libnetapi's level 3 makes a call per account); changes
// through libnetapi at the single-field levels it serves, and through the
// directory for what those levels cannot carry.
#include <algorithm>
#include <chrono>
#include <ctime>
#include <limits>
#include <memory>
#include <optional>
#include <vector>

#include "platform/paging.h"
#include "platform/samba/account_fields.h"
#include "platform/samba/credentials.h"
#include "platform/samba/password_change_right.h"
#include "platform/samba/samba_backend.h"
#include "platform/samba/samr_limits.h"
#include "platform/samba/same_text.h"
#include "platform/samba/status_codes.h"
#include "platform/samba/unguessable_password.h"
#include "platform/user_info_levels.h"

#include "platform/samba/libnetapi.h"

namespace platform::samba {
namespace {

std::string text(const char* s) { return s ? std::string(s) : std::string(); }

std::int64_t now() { return static_cast<std::int64_t>(std::time(nullptr)); }

// libnetapi's "never" for an expiry from an AD DC: the largest NT time cut
// to 32 bits.
constexpr DWORD kNetapiNever = 159663333;

USER_INFO_3 fromNetapi(const ::USER_INFO_3& r, std::int64_t now) {
  USER_INFO_3 u;
  u.usri3_name = text(r.usri3_name);
  // A password never set comes back with its age counted from 1970 (or
  // earlier): an age that puts the setting before 1971 means none.
  constexpr std::int64_t kYear = 365LL * 86400;
  u.usri3_password_age =
      now - static_cast<std::int64_t>(r.usri3_password_age) > kYear ? r.usri3_password_age : 0;
  u.usri3_priv = r.usri3_priv;
  u.usri3_home_dir = text(r.usri3_home_dir);
  u.usri3_comment = text(r.usri3_comment);
  u.usri3_flags = reportedFlags(r.usri3_flags);
  u.usri3_script_path = text(r.usri3_script_path);
  u.usri3_auth_flags = r.usri3_auth_flags;
  u.usri3_full_name = text(r.usri3_full_name);
  u.usri3_usr_comment = text(r.usri3_usr_comment);
  u.usri3_parms = text(r.usri3_parms);
  u.usri3_workstations = text(r.usri3_workstations);
  u.usri3_last_logon = r.usri3_last_logon;
  u.usri3_last_logoff = r.usri3_last_logoff;
  const DWORD expires = r.usri3_acct_expires;
  u.usri3_acct_expires =
      expires == 0 || expires == kNetapiNever || expires == kPdcNeverExpires ? TIMEQ_FOREVER
                                                                                : expires;
  u.usri3_max_storage = r.usri3_max_storage;
  u.usri3_units_per_week = r.usri3_units_per_week;
  if (r.usri3_logon_hours) {
    const bool allHours = std::all_of(r.usri3_logon_hours, r.usri3_logon_hours + 21,
                                      [](std::uint8_t b) { return b == 0xFF; });
    if (!allHours) u.usri3_logon_hours.assign(r.usri3_logon_hours, r.usri3_logon_hours + 21);
  }
  u.usri3_bad_pw_count = r.usri3_bad_pw_count;
  u.usri3_num_logons = r.usri3_num_logons;
  u.usri3_logon_server = text(r.usri3_logon_server);
  u.usri3_country_code = r.usri3_country_code;
  u.usri3_code_page = r.usri3_code_page;
  u.usri3_user_id = r.usri3_user_id;
  u.usri3_primary_group_id = r.usri3_primary_group_id;
  u.usri3_profile = text(r.usri3_profile);
  u.usri3_home_dir_drive = text(r.usri3_home_dir_drive);
  u.usri3_password_expired = r.usri3_password_expired;
  return u;
}

// The UF_ kind flags of the account kinds a NetUserEnum filter asks for,
// one by one; every kind for 0.
std::vector<DWORD> kindsAsked(DWORD filter) {
  struct Kind {
    DWORD filter;
    DWORD flag;
  };
  constexpr Kind kKinds[] = {
      {FILTER_TEMP_DUPLICATE_ACCOUNT, UF_TEMP_DUPLICATE_ACCOUNT},
      {FILTER_NORMAL_ACCOUNT, UF_NORMAL_ACCOUNT},
      {FILTER_INTERDOMAIN_TRUST_ACCOUNT, UF_INTERDOMAIN_TRUST_ACCOUNT},
      {FILTER_WORKSTATION_TRUST_ACCOUNT, UF_WORKSTATION_TRUST_ACCOUNT},
      {FILTER_SERVER_TRUST_ACCOUNT, UF_SERVER_TRUST_ACCOUNT},
  };
  std::vector<DWORD> kinds;
  for (const Kind& k : kKinds) {
    if (filter == 0 || (filter & k.filter)) kinds.push_back(k.flag);
  }
  return kinds;
}

// The directory's filter of those kinds: userAccountControl bits are the
// UF_ flags.
std::string kindFilter(DWORD filter) {
  std::string any;
  for (DWORD flag : kindsAsked(filter))
    any += "(userAccountControl:1.2.840.113556.1.4.803:=" + std::to_string(flag) + ")";
  return "(&(objectClass=user)(|" + any + "))";
}

// The account database's filter of those kinds: SAMR's account-control
// bits; 0 (every kind) for 0.
std::uint32_t acbKinds(DWORD filter) {
  if (filter == 0) return 0;
  DWORD flags = 0;
  for (DWORD flag : kindsAsked(filter)) flags |= flag;
  return acbFromFlags(flags);
}

// What the controller is sent for a password: one nobody is told in place of
// kUnknownPassword, since a controller cannot keep "no password matches".
std::string sentPassword(std::string_view given) {
  return given == kUnknownPassword ? unguessablePassword() : std::string(given);
}

// The flags a set can change in userAccountControl; the rest (the
// account's kind, lock-out) follow from the account and stay as they are.
constexpr DWORD kSettableFlags =
    UF_ACCOUNTDISABLE | UF_HOMEDIR_REQUIRED | UF_PASSWD_NOTREQD | UF_DONT_EXPIRE_PASSWD;

// The account's DACL with the change of its own password denied or allowed
// again, written back (the DACL only). An LDAP result code.
int writePasswordChangeDenied(Directory& dir, const DirectoryEntry& account, bool deny) {
  const std::string_view before = account.text("nTSecurityDescriptor");
  // A descriptor this account may not read (none came) is one it may not
  // write.
  if (before.empty()) return 50;
  auto after = withPasswordChangeDenied(before, deny);
  if (!after) return 80;  // other: bytes that are no descriptor are not rewritten
  return dir.replace(account.dn, "nTSecurityDescriptor", {std::move(*after)});
}

// Whether a password settings object applies to any account or group. The
// search is of one small container; one that cannot be read counts as
// "yes", so the controller's own values are read.
bool fineGrainedPolicies(Directory& dir) {
  std::vector<DirectoryEntry> settings;
  if (!dir.search("(objectClass=msDS-PasswordSettings)", {"msDS-PSOAppliesTo"}, &settings,
                  "CN=Password Settings Container,CN=System," + dir.baseDn()))
    return true;
  return std::any_of(settings.begin(), settings.end(), [](const DirectoryEntry& e) {
    return !e.text("msDS-PSOAppliesTo").empty();
  });
}

}  // namespace

DWORD SambaBackend::readUsers(const std::string& address, DWORD filter,
                              std::vector<USER_INFO_3>* out, bool flags) {
  out->clear();
  if (Directory* dir = directory(address)) {
    // The controller's per-account lock-out and expiry cost it about as much
    // as the rest of the browse; they differ from what the domain's policy
    // gives only where a fine-grained password policy applies.
    std::optional<DomainPolicy> policy;
    if (!fineGrainedPolicies(*dir)) {
      if (dir->broken()) return ERROR_BAD_NETPATH;
      std::vector<DirectoryEntry> domain;
      if (!dir->search("(objectClass=domainDNS)", policyAttributes(), &domain, dir->baseDn()))
        return ERROR_BAD_NETPATH;
      policy = domain.empty() ? DomainPolicy{} : policyFromEntry(domain.front());
    }
    std::vector<std::string> attributes = userAttributes(flags, !policy);
    attributes.insert(attributes.end(), dialinAttributes().begin(), dialinAttributes().end());
    const std::int64_t at = now();
    // Each account as it comes: the directory's entries of a big domain are
    // never held together.
    const bool read = dir->each(
        kindFilter(filter), attributes,
        [&](const DirectoryEntry& e) {
          out->push_back(userFromEntry(e, at, policy ? &*policy : nullptr));
          m_dialin.insert_or_assign({address, out->back().usri3_name}, dialinFromEntry(e));
        },
        [&] { out->clear(); });
    if (!read) return ERROR_BAD_NETPATH;
    // The account database's order: by relative ID, as SAMR lists them.
    std::sort(out->begin(), out->end(), [](const USER_INFO_3& a, const USER_INFO_3& b) {
      return a.usri3_user_id < b.usri3_user_id;
    });
    return NERR_Success;
  }
  // Without a directory: the account database's pipe, many accounts asked
  // for at once, two calls each besides the open and the close.
  libnetapi_ctx* netapi = m_session->context();
  if (!netapi) return ERROR_BAD_NETPATH;
  const std::int64_t at = now();
  const DWORD status = onPipeAt(address, RpcInterface::Accounts, [&](RpcPipe& pipe) {
    return pipe.accounts(netapi, address, acbKinds(filter), [&](const vt_samr_account& account) {
      out->push_back(userFromAccount(account, at));
    });
  });
  if (status != NERR_Success) out->clear();
  return status;
}

DWORD SambaBackend::readUser(const std::string& address, std::string_view name,
                             USER_INFO_3* out, bool flags) {
  if (Directory* dir = directory(address)) {
    std::vector<DirectoryEntry> entries;
    const std::string filter =
        "(&(objectClass=user)(sAMAccountName=" + ldapEscape(name) + "))";
    if (!dir->search(filter, userAttributes(flags), &entries)) return ERROR_BAD_NETPATH;
    if (entries.empty()) return NERR_UserNotFound;
    *out = userFromEntry(entries.front(), now());
    return NERR_Success;
  }
  NetapiBuffer buf;
  const std::string user(name);
  const DWORD status = ::NetUserGetInfo(address.c_str(), user.c_str(), 3, buf.out());
  if (status != NERR_Success) return answer(status, Family::User, address);
  if (!buf.as<::USER_INFO_3>()) return NERR_UserNotFound;
  *out = fromNetapi(*buf.as<::USER_INFO_3>(), now());
  // libnetapi never reports "cannot change password": the account's DACL.
  // A DACL the caller may not read leaves the flag as libnetapi gave it; a
  // server that went away meanwhile fails the read.
  if (libnetapi_ctx* netapi = m_session->context()) {
    int cannot = 0;
    const DWORD read = vt_samr_cannot_change(netapi, address.c_str(), user.c_str(), &cannot);
    if (read == 53 || read == 59 || read == 64 || read == 121) return pipeStatus(read, address);
    if (read == NERR_Success && cannot) out->usri3_flags |= UF_PASSWD_CANT_CHANGE;
  }
  return NERR_Success;
}

NET_API_STATUS SambaBackend::NetUserEnum(std::string_view servername, DWORD level, DWORD filter,
                                         NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                                         DWORD* totalentries, DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 0 && level != 1 && level != 3) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  // Level 0 is names only: the descriptors of every account are not read.
  const bool flags = level != 0;
  // The pages after the first come from what the first read, for a while.
  constexpr auto kPagesFor = std::chrono::seconds(60);
  const auto now = std::chrono::steady_clock::now();
  UserPages& pages = m_userPages;
  const bool continued = resume && *resume != 0 && pages.address == at &&
                         pages.filter == filter && pages.flags == flags &&
                         now - pages.readAt <= kPagesFor;
  if (!continued) {
    pages = UserPages{};
    if (const DWORD status = readUsers(at, filter, &pages.users, flags); status != NERR_Success)
      return status;
    pages.address = at;
    pages.filter = filter;
    pages.flags = flags;
    pages.readAt = now;
  }
  const std::vector<USER_INFO_3>& users = pages.users;
  const std::size_t total = users.size();
  DWORD status = NERR_Success;
  if (level == 0) {
    status = pageEnum<USER_INFO_0>(buf, total, prefmaxlen, entriesread, totalentries, resume,
                                   [&](std::size_t i) { return userInfo0(users[i]); });
  } else if (level == 1) {
    status = pageEnum<USER_INFO_1>(buf, total, prefmaxlen, entriesread, totalentries, resume,
                                   [&](std::size_t i) { return userInfo1(users[i]); });
  } else {
    status = pageEnum<USER_INFO_3>(buf, total, prefmaxlen, entriesread, totalentries, resume,
                                   [&](std::size_t i) { return users[i]; });
  }
  // The last page given: nothing is kept.
  if (status != ERROR_MORE_DATA) pages = UserPages{};
  return status;
}

NET_API_STATUS SambaBackend::NetUserGetInfo(std::string_view servername,
                                            std::string_view username, DWORD level,
                                            NetBuffer& buf) {
  buf.reset();
  if (level != 0 && level != 1 && level != 3) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  USER_INFO_3 user;
  if (const DWORD status = readUser(at, username, &user, level != 0); status != NERR_Success)
    return status;
  if (level == 0) {
    buf.emplace<USER_INFO_0>().push_back(userInfo0(user));
  } else if (level == 1) {
    buf.emplace<USER_INFO_1>().push_back(userInfo1(user));
  } else {
    buf.emplace<USER_INFO_3>().push_back(std::move(user));
  }
  return NERR_Success;
}

DWORD SambaBackend::setAccountControl(const std::string& address, std::string_view name,
                                      DWORD flags) {
  Directory* dir = directory(address);
  if (!dir) {
    // Without a directory (an NT4-style controller) the flags go through
    // SAMR. libnetapi refuses the flags' own level (1008); its level 3
    // sends only the fields that are set, and passes the flags as SAMR's
    // account-control bits, not as UF_ flags.
    USER_INFO_3 current;
    if (const DWORD status = readUser(address, name, &current); status != NERR_Success)
      return status;
    const DWORD wanted = (current.usri3_flags & ~(kSettableFlags | UF_LOCKOUT)) |
                         (flags & (kSettableFlags | UF_LOCKOUT));
    ::USER_INFO_3 control{};
    control.usri3_flags = acbFromFlags(wanted);
    const std::string user(name);
    const DWORD status = answer(::NetUserSetInfo(address.c_str(), user.c_str(), 3,
                                                 reinterpret_cast<std::uint8_t*>(&control), nullptr),
                                Family::User, address);
    // "User cannot change password" is the DACL of the account's object.
    const bool cannot = (flags & UF_PASSWD_CANT_CHANGE) != 0;
    if (status != NERR_Success || cannot == ((current.usri3_flags & UF_PASSWD_CANT_CHANGE) != 0))
      return status;
    vt_samr_limits limits{};
    limits.set_cannot_change = 1;
    limits.cannot_change = cannot ? 1 : 0;
    return writeAccountLimits(address, user, limits);
  }
  std::vector<DirectoryEntry> entries;
  const std::string filter = "(&(objectClass=user)(sAMAccountName=" + ldapEscape(name) + "))";
  if (!dir->search(filter, {"userAccountControl", "nTSecurityDescriptor"}, &entries))
    return ERROR_BAD_NETPATH;
  if (entries.empty()) return NERR_UserNotFound;
  const auto current = static_cast<DWORD>(entries.front().number("userAccountControl"));
  const DWORD wanted = (current & ~kSettableFlags) | (flags & kSettableFlags);
  int status = 0;
  if (wanted != current)
    status = dir->replace(entries.front().dn, "userAccountControl", {std::to_string(wanted)});
  // "User cannot change password" is the DACL's, not a control bit.
  const bool deny = (flags & UF_PASSWD_CANT_CHANGE) != 0;
  if (status == 0 && deny != passwordChangeDenied(entries.front()))
    status = writePasswordChangeDenied(*dir, entries.front(), deny);
  // Clearing the lock-out flag unlocks the account.
  if (status == 0 && !(flags & UF_LOCKOUT))
    status = dir->replace(entries.front().dn, "lockoutTime", {"0"});
  return status == 0 ? NERR_Success : status == 50 ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER;
}

DWORD SambaBackend::setAccountLimits(const std::string& address, const std::string& name,
                                    const USER_INFO_3& wanted, bool expiry, bool hours,
                                    bool expired) {
  // Without a directory: the account database's own write, over
  // libnetapi's pipe.
  std::vector<std::uint8_t> allHours(21, 0xFF);
  const std::vector<std::uint8_t>& bits =
      wanted.usri3_logon_hours.size() == 21 ? wanted.usri3_logon_hours : allHours;
  vt_samr_limits limits{};
  limits.set_expiry = expiry ? 1 : 0;
  limits.acct_expiry = wanted.usri3_acct_expires == TIMEQ_FOREVER
                           ? static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())
                           : static_cast<std::uint64_t>(ntTimeFromUnix(wanted.usri3_acct_expires));
  limits.set_hours = hours ? 1 : 0;
  limits.logon_hours = bits.data();
  limits.set_expired = expired ? 1 : 0;
  limits.password_expired = wanted.usri3_password_expired ? 1 : 0;
  return writeAccountLimits(address, name, limits);
}

DWORD SambaBackend::writeAccountLimits(const std::string& address, const std::string& name,
                                      const vt_samr_limits& limits) {
  libnetapi_ctx* netapi = m_session->context();
  if (!netapi) return ERROR_BAD_NETPATH;
  const DWORD status = vt_samr_set_limits(netapi, address.c_str(), name.c_str(), &limits);
  if (status == NERR_UserNotFound) return status;
  return pipeStatus(status, address);
}

DWORD SambaBackend::applyUserChanges(const std::string& address, std::string_view name,
                                     const USER_INFO_3& wanted, bool passwordGiven) {
  USER_INFO_3 current;
  if (const DWORD status = readUser(address, name, &current); status != NERR_Success)
    return status;
  const std::string user(name);
  auto setText = [&](DWORD level, const std::string& now, const std::string& before) -> DWORD {
    if (now == before) return NERR_Success;
    // Every single-field level of libnetapi is one string pointer.
    const char* value = now.c_str();
    const DWORD status = ::NetUserSetInfo(address.c_str(), user.c_str(), level,
                                          reinterpret_cast<std::uint8_t*>(&value), nullptr);
    return answer(status, Family::User, address);
  };
  struct TextField {
    DWORD level;
    std::string USER_INFO_3::*field;
  };
  constexpr TextField kTextFields[] = {
      {1007, &USER_INFO_3::usri3_comment},   {1011, &USER_INFO_3::usri3_full_name},
      {1012, &USER_INFO_3::usri3_usr_comment}, {1006, &USER_INFO_3::usri3_home_dir},
      {1009, &USER_INFO_3::usri3_script_path}, {1052, &USER_INFO_3::usri3_profile},
      {1053, &USER_INFO_3::usri3_home_dir_drive}, {1014, &USER_INFO_3::usri3_workstations},
  };
  DWORD status = NERR_Success;
  if (passwordGiven) status = setText(1003, wanted.usri3_password, {});
  for (const TextField& f : kTextFields) {
    if (status != NERR_Success) return status;
    status = setText(f.level, wanted.*f.field, current.*f.field);
  }
  if (status != NERR_Success) return status;
  if (wanted.usri3_primary_group_id != current.usri3_primary_group_id) {
    ::USER_INFO_1051 group{wanted.usri3_primary_group_id};
    status = answer(::NetUserSetInfo(address.c_str(), user.c_str(), 1051,
                                             reinterpret_cast<std::uint8_t*>(&group), nullptr),
                            Family::User, address);
    if (status != NERR_Success) return status;
  }
  if ((wanted.usri3_flags ^ current.usri3_flags) &
      (kSettableFlags | UF_LOCKOUT | UF_PASSWD_CANT_CHANGE)) {
    status = setAccountControl(address, name, wanted.usri3_flags);
    if (status != NERR_Success) return status;
  }
  const bool expiryChanged = wanted.usri3_acct_expires != current.usri3_acct_expires;
  const bool hoursChanged = wanted.usri3_logon_hours != current.usri3_logon_hours;
  const bool expiredChanged =
      (wanted.usri3_password_expired != 0) != (current.usri3_password_expired != 0);
  if (expiryChanged || hoursChanged || expiredChanged) {
    // libnetapi never sends these (not even at level 3).
    Directory* dir = directory(address);
    if (!dir) {
      return setAccountLimits(address, std::string(name), wanted, expiryChanged, hoursChanged,
                              expiredChanged);
    }
    std::vector<DirectoryEntry> entries;
    const std::string filter = "(&(objectClass=user)(sAMAccountName=" + ldapEscape(name) + "))";
    if (!dir->search(filter, {"sAMAccountName"}, &entries)) return ERROR_BAD_NETPATH;
    if (entries.empty()) return NERR_UserNotFound;
    const std::string& dn = entries.front().dn;
    int ldap = 0;
    if (expiryChanged) {
      const std::string value = wanted.usri3_acct_expires == TIMEQ_FOREVER
                                    ? "9223372036854775807"
                                    : std::to_string(ntTimeFromUnix(wanted.usri3_acct_expires));
      ldap = dir->replace(dn, "accountExpires", {value});
    }
    if (ldap == 0 && hoursChanged) {
      std::vector<std::string> hours;
      if (!wanted.usri3_logon_hours.empty())
        hours.emplace_back(wanted.usri3_logon_hours.begin(), wanted.usri3_logon_hours.end());
      else
        hours.emplace_back(21, '\xFF');
      ldap = dir->replace(dn, "logonHours", hours);
    }
    // 0 makes the password expire now; -1 takes the expiry back.
    if (ldap == 0 && expiredChanged)
      ldap = dir->replace(dn, "pwdLastSet", {wanted.usri3_password_expired ? "0" : "-1"});
    if (ldap != 0) return ldap == 50 ? ERROR_ACCESS_DENIED : ERROR_INVALID_PARAMETER;
  }
  // A rename comes last: every change above names the account as it was.
  if (!wanted.usri3_name.empty() && wanted.usri3_name != current.usri3_name) {
    ::USER_INFO_0 rename{wanted.usri3_name.c_str()};
    status = answer(::NetUserSetInfo(address.c_str(), user.c_str(), 0,
                                             reinterpret_cast<std::uint8_t*>(&rename), nullptr),
                            Family::User, address);
  }
  return status;
}

NET_API_STATUS SambaBackend::NetUserSetInfo(std::string_view servername,
                                            std::string_view username, DWORD level,
                                            const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  if (level == 3) {
    const auto* u = std::get_if<USER_INFO_3>(&info);
    if (!u) return ERROR_INVALID_PARAMETER;
    if (u->usri3_password != kUnknownPassword)
      return applyUserChanges(at, username, *u, !u->usri3_password.empty());
    USER_INFO_3 wanted = *u;
    wanted.usri3_password = sentPassword(u->usri3_password);
    const DWORD status = applyUserChanges(at, username, wanted, true);
    wipeText(wanted.usri3_password);
    return status;
  }
  if (level == 1) {
    const auto* one = std::get_if<USER_INFO_1>(&info);
    if (!one) return ERROR_INVALID_PARAMETER;
    USER_INFO_3 wanted;
    if (const DWORD status = readUser(at, username, &wanted); status != NERR_Success)
      return status;
    wanted.usri3_name = one->usri1_name;
    wanted.usri3_password = sentPassword(one->usri1_password);
    applyUserInfo1(*one, wanted);
    const DWORD status = applyUserChanges(at, username, wanted, !one->usri1_password.empty());
    wipeText(wanted.usri3_password);
    return status;
  }
  const std::string user(username);
  if (level == 1003) {
    const auto* p = std::get_if<USER_INFO_1003>(&info);
    if (!p) return ERROR_INVALID_PARAMETER;
    std::string password = sentPassword(p->usri1003_password);
    ::USER_INFO_1003 raw{password.c_str()};
    const DWORD status = answer(::NetUserSetInfo(at.c_str(), user.c_str(), 1003,
                                                 reinterpret_cast<std::uint8_t*>(&raw), nullptr),
                                Family::User, at);
    wipeText(password);
    return status;
  }
  if (level == 1007) {
    const auto* c = std::get_if<USER_INFO_1007>(&info);
    if (!c) return ERROR_INVALID_PARAMETER;
    ::USER_INFO_1007 raw{c->usri1007_comment.c_str()};
    return answer(::NetUserSetInfo(at.c_str(), user.c_str(), 1007,
                                           reinterpret_cast<std::uint8_t*>(&raw), nullptr),
                          Family::User, at);
  }
  if (level == 1008) {
    const auto* f = std::get_if<USER_INFO_1008>(&info);
    if (!f) return ERROR_INVALID_PARAMETER;
    return setAccountControl(at, username, f->usri1008_flags);
  }
  return ERROR_INVALID_LEVEL;
}

NET_API_STATUS SambaBackend::NetUserAdd(std::string_view servername, DWORD level,
                                        const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  USER_INFO_3 wanted;
  if (level == 1) {
    const auto* one = std::get_if<USER_INFO_1>(&info);
    if (!one) return ERROR_INVALID_PARAMETER;
    wanted = userInfo3(*one);
  } else if (level == 3) {
    const auto* three = std::get_if<USER_INFO_3>(&info);
    if (!three) return ERROR_INVALID_PARAMETER;
    wanted = *three;
  } else {
    return ERROR_INVALID_LEVEL;
  }
  wanted.usri3_password = sentPassword(wanted.usri3_password);
  const DWORD status = addUser(servername, level, wanted, parm_err);
  wipeText(wanted.usri3_password);
  return status;
}

DWORD SambaBackend::addUser(std::string_view servername, DWORD level, const USER_INFO_3& wanted,
                            DWORD* parm_err) {
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  // libnetapi adds at level 1 only, and passes the flags on as SAMR's
  // account-control bits: UF_SCRIPT would arrive as "disabled".
  ::USER_INFO_1 raw{};
  raw.usri1_name = wanted.usri3_name.c_str();
  raw.usri1_password = wanted.usri3_password.c_str();
  raw.usri1_priv = wanted.usri3_priv;
  raw.usri1_home_dir = wanted.usri3_home_dir.c_str();
  raw.usri1_comment = wanted.usri3_comment.c_str();
  raw.usri1_flags = acbFromFlags(wanted.usri3_flags);
  raw.usri1_script_path = wanted.usri3_script_path.c_str();
  std::uint32_t err = 0;
  const DWORD status = answer(
      ::NetUserAdd(at.c_str(), 1, reinterpret_cast<std::uint8_t*>(&raw), &err), Family::User, at);
  if (parm_err) *parm_err = err;
  if (status != NERR_Success) return status;
  // SAMR has no account-control bit for "cannot change password".
  if (level == 1) {
    return (wanted.usri3_flags & UF_PASSWD_CANT_CHANGE)
               ? setAccountControl(at, wanted.usri3_name, wanted.usri3_flags)
               : status;
  }
  // The level-3 fields level 1 has no room for.
  return applyUserChanges(at, wanted.usri3_name, wanted, false);
}

NET_API_STATUS SambaBackend::NetUserDel(std::string_view servername, std::string_view username) {
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string user(username);
  return answer(::NetUserDel(at.c_str(), user.c_str()), Family::User, at);
}

NET_API_STATUS SambaBackend::NetUserGetGroups(std::string_view servername,
                                              std::string_view username, DWORD level,
                                              NetBuffer& buf, DWORD, DWORD* entriesread,
                                              DWORD* totalentries) {
  clearEnum(buf, entriesread, totalentries);
  if (level > 1) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string user(username);
  NetapiBuffer raw;
  std::uint32_t read = 0;
  std::uint32_t total = 0;
  const DWORD status = ::NetUserGetGroups(at.c_str(), user.c_str(), level, raw.out(),
                                          MAX_PREFERRED_LENGTH, &read, &total);
  if (status != NERR_Success) return answer(status, Family::User, at);
  if (level == 0) {
    auto& out = buf.emplace<GROUP_USERS_INFO_0>();
    const auto* e = raw.as<::GROUP_USERS_INFO_0>();
    for (std::uint32_t i = 0; e && i < read; ++i) out.push_back({text(e[i].grui0_name)});
  } else {
    auto& out = buf.emplace<GROUP_USERS_INFO_1>();
    const auto* e = raw.as<::GROUP_USERS_INFO_1>();
    for (std::uint32_t i = 0; e && i < read; ++i)
      out.push_back({text(e[i].grui1_name), e[i].grui1_attributes});
  }
  if (entriesread) *entriesread = read;
  if (totalentries) *totalentries = read;
  return NERR_Success;
}

NET_API_STATUS SambaBackend::NetUserGetLocalGroups(std::string_view servername,
                                                   std::string_view username, DWORD level,
                                                   DWORD flags, NetBuffer& buf, DWORD,
                                                   DWORD* entriesread, DWORD* totalentries) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 0) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  std::vector<std::string> names;
  if (Directory* dir = directory(at)) {
    // libnetapi answers 1301 when one of the account's aliases does not map
    // back to a name; the directory names them all.
    // "DOMAIN\\name", as callers name a domain account on a member server,
    // is the account of this controller's domain.
    std::string_view account = username;
    if (const auto slash = account.find('\\'); slash != std::string_view::npos) {
      if (!sameText(account.substr(0, slash), domainName(at))) return NERR_UserNotFound;
      account.remove_prefix(slash + 1);
    }
    std::vector<DirectoryEntry> users;
    const std::string filter =
        "(&(objectClass=user)(sAMAccountName=" + ldapEscape(account) + "))";
    if (!dir->search(filter, {"sAMAccountName"}, &users)) return ERROR_BAD_NETPATH;
    if (users.empty()) return NERR_UserNotFound;
    // Directly, or (LG_INCLUDE_INDIRECT) through the groups it is in.
    const std::string member = (flags & LG_INCLUDE_INDIRECT)
                                   ? "(member:1.2.840.113556.1.4.1941:=" + ldapEscape(users.front().dn) + ")"
                                   : "(member=" + ldapEscape(users.front().dn) + ")";
    std::vector<DirectoryEntry> groups;
    if (!dir->search("(&(objectClass=group)(|(groupType:1.2.840.113556.1.4.803:=4)"
                     "(groupType:1.2.840.113556.1.4.803:=1))" + member + ")",
                     {"sAMAccountName"}, &groups))
      return ERROR_BAD_NETPATH;
    for (const auto& g : groups) names.emplace_back(g.text("sAMAccountName"));
    std::sort(names.begin(), names.end());
  } else {
    const std::string user(username);
    NetapiBuffer raw;
    std::uint32_t read = 0;
    std::uint32_t total = 0;
    const DWORD status = ::NetUserGetLocalGroups(at.c_str(), user.c_str(), 0, flags, raw.out(),
                                                 MAX_PREFERRED_LENGTH, &read, &total);
    if (status != NERR_Success) return answer(status, Family::User, at);
    const auto* e = raw.as<::LOCALGROUP_USERS_INFO_0>();
    for (std::uint32_t i = 0; e && i < read; ++i) names.push_back(text(e[i].lgrui0_name));
  }
  auto& out = buf.emplace<LOCALGROUP_USERS_INFO_0>();
  for (auto& n : names) out.push_back({std::move(n)});
  if (entriesread) *entriesread = static_cast<DWORD>(out.size());
  if (totalentries) *totalentries = static_cast<DWORD>(out.size());
  return NERR_Success;
}

DWORD SambaBackend::displayFromDirectory(const std::string& address, Directory& dir, DWORD level,
                                         DWORD index, DWORD entriesrequested, DWORD prefmaxlen,
                                         DWORD* returned, NetBuffer& buf) {
  // A caller pages from index 0 on; the pages after the first come from
  // what the first read, for a while, instead of a search of the whole
  // domain each (the rows read are what a first page gives anyway).
  constexpr auto kPagesFor = std::chrono::seconds(60);
  const auto now = std::chrono::steady_clock::now();
  DisplayRows& rows = m_displayRows;
  if (index == 0 || rows.address != address || rows.level != level ||
      now - rows.readAt > kPagesFor) {
    // Users (level 1) or computers (level 2) in the account database's
    // order, by relative ID; an entry's next index is its position plus one.
    const std::string filter =
        kindFilter(level == 1 ? FILTER_NORMAL_ACCOUNT
                              : FILTER_WORKSTATION_TRUST_ACCOUNT | FILTER_SERVER_TRUST_ACCOUNT);
    rows = DisplayRows{};
    const bool read = dir.each(
        filter,
        // No descriptor: display information carries the account-control
        // bits as the account database keeps them, and "cannot change
        // password" is not one of them (it is in the DACL). Reading every
        // account's DACL would double what a full browse costs the
        // controller, whose count comes from here.
        {"sAMAccountName", "displayName", "description", "userAccountControl", "objectSid"},
        [&](const DirectoryEntry& e) {
          rows.rows.push_back({ridOf(e.sid()), accountFlags(e), std::string(e.text("sAMAccountName")),
                               std::string(e.text("description")),
                               std::string(e.text("displayName"))});
        },
        [&] { rows.rows.clear(); });
    if (!read) {
      rows = DisplayRows{};
      return ERROR_BAD_NETPATH;
    }
    std::sort(rows.rows.begin(), rows.rows.end(),
              [](const DisplayRow& a, const DisplayRow& b) { return a.rid < b.rid; });
    rows.address = address;
    rows.level = level;
    rows.readAt = now;
  }
  bool more = false;
  std::size_t taken = 0;
  const std::size_t limit = entriesrequested == 0 ? 1 : entriesrequested;
  if (level == 1) {
    taken = takePage(buf.emplace<NET_DISPLAY_USER>(), index, rows.rows.size(), prefmaxlen, limit,
                     [&](std::size_t i) {
                       const DisplayRow& r = rows.rows[i];
                       return NET_DISPLAY_USER{r.name, r.comment, r.flags, r.fullName, r.rid,
                                               static_cast<DWORD>(i + 1)};
                     },
                     &more);
  } else {
    taken = takePage(buf.emplace<NET_DISPLAY_MACHINE>(), index, rows.rows.size(), prefmaxlen,
                     limit,
                     [&](std::size_t i) {
                       const DisplayRow& r = rows.rows[i];
                       return NET_DISPLAY_MACHINE{r.name, r.comment, r.flags, r.rid,
                                                  static_cast<DWORD>(i + 1)};
                     },
                     &more);
  }
  if (returned) *returned = static_cast<DWORD>(taken);
  return more ? ERROR_MORE_DATA : NERR_Success;
}

NET_API_STATUS SambaBackend::NetQueryDisplayInformation(std::string_view servername,
                                                        DWORD level, DWORD index,
                                                        DWORD entriesrequested,
                                                        DWORD prefmaxlen, DWORD* returned,
                                                        NetBuffer& buf) {
  buf.reset();
  if (returned) *returned = 0;
  if (level < 1 || level > 3) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  if (level != 3) {
    if (Directory* dir = directory(at)) {
      return displayFromDirectory(at, *dir, level, index, entriesrequested, prefmaxlen, returned,
                                  buf);
    }
  }
  void* raw = nullptr;
  std::uint32_t read = 0;
  const DWORD status = ::NetQueryDisplayInformation(at.c_str(), level, index, entriesrequested,
                                                    prefmaxlen, &read, &raw);
  // Freed whatever the status: a "more data" answer carries entries too.
  struct Free {
    void operator()(void* p) const { ::NetApiBufferFree(p); }
  };
  std::unique_ptr<void, Free> owned(raw);
  if (status != NERR_Success && status != ERROR_MORE_DATA)
    return answer(status, Family::Other, at);
  if (level == 1) {
    auto& out = buf.emplace<NET_DISPLAY_USER>();
    const auto* e = static_cast<const ::NET_DISPLAY_USER*>(raw);
    for (std::uint32_t i = 0; e && i < read; ++i) {
      out.push_back({text(e[i].usri1_name), text(e[i].usri1_comment), flagsFromAcb(e[i].usri1_flags),
                     text(e[i].usri1_full_name), e[i].usri1_user_id, e[i].usri1_next_index});
    }
  } else if (level == 2) {
    auto& out = buf.emplace<NET_DISPLAY_MACHINE>();
    const auto* e = static_cast<const ::NET_DISPLAY_MACHINE*>(raw);
    for (std::uint32_t i = 0; e && i < read; ++i) {
      out.push_back({text(e[i].usri2_name), text(e[i].usri2_comment), flagsFromAcb(e[i].usri2_flags),
                     e[i].usri2_user_id, e[i].usri2_next_index});
    }
  } else {
    auto& out = buf.emplace<NET_DISPLAY_GROUP>();
    const auto* e = static_cast<const ::NET_DISPLAY_GROUP*>(raw);
    for (std::uint32_t i = 0; e && i < read; ++i) {
      out.push_back({text(e[i].grpi3_name), text(e[i].grpi3_comment), e[i].grpi3_group_id,
                     e[i].grpi3_attributes, e[i].grpi3_next_index});
    }
  }
  if (returned) *returned = read;
  return status;
}

}  // namespace platform::samba
