#include "users/user_load.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <ctime>
#include <unordered_set>

#include "platform/dialin.h"
#include "platform/netapi.h"
#include "users/membership.h"

namespace users {

using namespace platform;

namespace {

Tick tickOf(bool on) { return on ? Tick::On : Tick::Off; }

Tick countedTick(std::size_t count, std::size_t of) {
  if (count == 0) return Tick::Off;
  return count == of ? Tick::On : Tick::Mixed;
}

std::string serverDomain(std::string_view server) {
  NetBuffer buffer;
  if (NetUserModalsGet(server, 2, buffer) != NERR_Success) return {};
  const auto* info = buffer.one<USER_MODALS_INFO_2>();
  return info ? info->usrmod2_domain_name : std::string();
}

// The account names of `members` that are among `names`: a local group's
// members carry a domain, and only the server's own domain names the
// selected accounts (an account of another domain is another account).
std::size_t countSelected(const std::vector<std::string>& members,
                          const std::unordered_set<std::string_view>& names,
                          std::string_view domainPrefix) {
  std::size_t count = 0;
  for (const std::string& member : members) {
    std::string_view name = member;
    if (!domainPrefix.empty()) {
      if (!name.starts_with(domainPrefix)) continue;
      name.remove_prefix(domainPrefix.size());
    } else if (const auto slash = name.find('\\'); slash != name.npos) {
      name.remove_prefix(slash + 1);
    }
    if (names.contains(name)) ++count;
  }
  return count;
}

}  // namespace

std::string lastLogonText(DWORD secondsSince1970) {
  if (secondsSince1970 == 0) return "********* Never *********";
  static constexpr std::array<const char*, 7> kDays{"Sun", "Mon", "Tue", "Wed",
                                                    "Thu", "Fri", "Sat"};
  static constexpr std::array<const char*, 12> kMonths{"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                                       "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
  const std::time_t t = static_cast<std::time_t>(secondsSince1970);
  std::tm local{};
  if (!localtime_r(&t, &local)) return "********* Never *********";
  char text[64];
  std::snprintf(text, sizeof text, "%s %s %02d %02d:%02d:%02d %d ", kDays[local.tm_wday % 7],
                kMonths[local.tm_mon % 12], local.tm_mday, local.tm_hour, local.tm_min,
                local.tm_sec, local.tm_year + 1900);
  return text;
}

void takeRecord(UserFields& fields, const USER_INFO_3& record) {
  fields.fullName = record.usri3_full_name;
  fields.description = record.usri3_comment;
  fields.lastLogon = lastLogonText(record.usri3_last_logon);
  fields.disabled = tickOf(record.usri3_flags & UF_ACCOUNTDISABLE);
  fields.lockedOut = tickOf(record.usri3_flags & UF_LOCKOUT);
  fields.cannotChange = tickOf(record.usri3_flags & UF_PASSWD_CANT_CHANGE);
  fields.neverExpires = tickOf(record.usri3_flags & UF_DONT_EXPIRE_PASSWD);
  fields.mustChange = tickOf(record.usri3_password_expired != 0);
  fields.lockoutEnabled = (record.usri3_flags & UF_LOCKOUT) != 0;
  fields.profile = record.usri3_profile;
  fields.script = record.usri3_script_path;
  fields.homeDrive = record.usri3_home_dir_drive;
  fields.homeDir = record.usri3_home_dir;
  fields.limits = limitsOf(record);
  fields.record = record;
  fields.recordRead = true;
}

void loadMemberships(std::string_view server, UserFields& fields) {
  fields.memberOf.clear();
  fields.notMemberOf.clear();
  const bool existing = fields.mode != UserMode::New;
  std::unordered_set<std::string> globals;
  std::unordered_set<std::string> directLocals;
  if (existing) {
    for (std::string& group : userGlobalGroups(server, fields.name)) {
      fields.memberOf.push_back(entryOf(kGlobalPrefix, group));
      globals.insert(std::move(group));
    }
    for (std::string& group : userLocalGroups(server, fields.name, false))
      directLocals.insert(std::move(group));
    for (const std::string& group : userLocalGroups(server, fields.name, true))
      fields.memberOf.push_back(
          entryOf(directLocals.contains(group) ? kLocalPrefix : kIndirectPrefix, group));
  }
  for (const std::string& group : globalGroupNames(server))
    if (!globals.contains(group)) fields.notMemberOf.push_back(entryOf(kGlobalPrefix, group));
  for (const std::string& group : localGroupNames(server))
    if (!directLocals.contains(group)) fields.notMemberOf.push_back(entryOf(kLocalPrefix, group));
}

std::optional<UserFields> loadSingleUser(std::string_view server, const std::string& name) {
  NetBuffer buffer;
  if (NetUserGetInfo(server, name, 3, buffer) != NERR_Success) return std::nullopt;
  const auto* record = buffer.one<USER_INFO_3>();
  if (!record) return std::nullopt;
  UserFields fields;
  fields.mode = UserMode::Single;
  fields.name = name;
  takeRecord(fields, *record);
  fields.password = std::string(kUnchangedPassword);
  fields.confirmation = std::string(kUnchangedPassword);
  DWORD allowed = 0;
  DWORD type = RAS_CALLBACK_NONE;
  std::string number;
  fields.dialin.readable = GetRAS(server, name, &allowed, &number, &type) != 0;
  if (fields.dialin.readable) {
    fields.dialin.allowed = tickOf(allowed != 0);
    fields.dialin.callbackNumber = std::move(number);
    fields.dialin.callbackType = type;
  }
  loadMemberships(server, fields);
  return fields;
}

UserFields loadNewUser(std::string_view server) {
  UserFields fields;
  fields.mode = UserMode::New;
  fields.dialin.readable = true;
  fields.dialin.callbackType = kNoCallbackType;
  loadMemberships(server, fields);
  return fields;
}

UserFields loadMultipleUsers(std::string_view server, std::vector<std::string> names) {
  UserFields fields;
  fields.mode = UserMode::Multiple;
  std::size_t read = 0;
  std::size_t disabled = 0, neverExpires = 0, cannotChange = 0, mustChange = 0, lockedOut = 0;
  bool first = true;
  bool dialinReadable = true;
  for (const std::string& name : names) {
    DWORD allowed = 0;
    DWORD type = RAS_CALLBACK_NONE;
    std::string number;
    if (GetRAS(server, name, &allowed, &number, &type) == 0) {
      dialinReadable = false;
    } else if (first) {
      fields.dialin.allowed = tickOf(allowed != 0);
      fields.dialin.callbackNumber = std::move(number);
      fields.dialin.callbackType = type;
      first = false;
    } else if (fields.dialin.allowed != tickOf(allowed != 0) ||
               fields.dialin.callbackNumber != number || fields.dialin.callbackType != type) {
      fields.dialin.allowed = Tick::Mixed;
      fields.dialin.callbackNumber.clear();
      fields.dialin.callbackType = kNoCallbackType;
    }
    NetBuffer buffer;
    if (NetUserGetInfo(server, name, 3, buffer) != NERR_Success) continue;
    const auto* record = buffer.one<USER_INFO_3>();
    if (!record) continue;
    addToCombined(fields.limits, *record, read == 0);
    ++read;
    disabled += (record->usri3_flags & UF_ACCOUNTDISABLE) != 0;
    neverExpires += (record->usri3_flags & UF_DONT_EXPIRE_PASSWD) != 0;
    cannotChange += (record->usri3_flags & UF_PASSWD_CANT_CHANGE) != 0;
    lockedOut += (record->usri3_flags & UF_LOCKOUT) != 0;
    mustChange += record->usri3_password_expired != 0;
  }
  // Settings that could not be read for every account are not written back.
  fields.dialin.readable = dialinReadable && !first;
  fields.disabled = countedTick(disabled, read);
  fields.neverExpires = countedTick(neverExpires, read);
  fields.cannotChange = countedTick(cannotChange, read);
  fields.mustChange = countedTick(mustChange, read);
  fields.lockedOut = countedTick(lockedOut, read);
  fields.lockoutEnabled = lockedOut != 0;

  std::sort(names.begin(), names.end());
  names.erase(std::unique(names.begin(), names.end()), names.end());
  fields.names = std::move(names);
  const std::unordered_set<std::string_view> selected(fields.names.begin(), fields.names.end());
  const std::string domain = serverDomain(server);
  const std::string domainPrefix = domain.empty() ? std::string() : domain + "\\";
  for (const std::string& group : globalGroupNames(server)) {
    const bool all = countSelected(globalGroupMemberNames(server, group), selected, {}) ==
                     selected.size();
    (all ? fields.memberOf : fields.notMemberOf).push_back(entryOf(kGlobalPrefix, group));
  }
  for (const std::string& group : localGroupNames(server)) {
    const bool all = countSelected(localGroupMemberNames(server, group), selected,
                                   domainPrefix) == selected.size();
    (all ? fields.memberOf : fields.notMemberOf).push_back(entryOf(kLocalPrefix, group));
  }
  return fields;
}

}  // namespace users
