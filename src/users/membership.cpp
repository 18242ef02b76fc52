#include "users/membership.h"

#include <algorithm>

#include "platform/netapi.h"

namespace users {

using namespace platform;

namespace {

// Cancels an equal entry of `pending` (emptied, as a cancelled entry is
// skipped later); false when there was none.
bool cancelPending(std::vector<std::string>& pending, const std::string& entry) {
  const auto found = std::ranges::find(pending, entry);
  if (found == pending.end()) return false;
  found->clear();
  return true;
}

// Runs a paged enumeration to its end: a server may answer a large list in
// several pieces, and a group lost to a full buffer would be shown wrongly.
template <class Info, class Call, class Name>
std::vector<std::string> readAll(Call call, Name name) {
  std::vector<std::string> names;
  DWORD resume = 0;
  for (;;) {
    NetBuffer buffer;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status = call(buffer, &read, &total, &resume);
    if (status != NERR_Success && status != ERROR_MORE_DATA) break;
    const auto page = buffer.get<Info>();
    for (const Info& info : page) names.push_back(name(info));
    if (status == NERR_Success || page.empty()) break;
  }
  return names;
}

}  // namespace

std::string entryOf(std::string_view prefix, std::string_view group) {
  std::string entry(prefix);
  entry += ' ';
  entry += group;
  return entry;
}

std::string groupOf(std::string_view entry) {
  const auto blank = entry.find(' ');
  return blank == std::string_view::npos ? std::string() : std::string(entry.substr(blank + 1));
}

bool isIndirect(std::string_view entry) { return entry.find(kIndirectPrefix) != entry.npos; }
bool isLocal(std::string_view entry) { return entry.starts_with(kLocalPrefix); }

void recordRemoval(UserFields& fields, const std::string& entry) {
  if (!cancelPending(fields.pendingAdditions, entry)) fields.pendingRemovals.push_back(entry);
}

void recordAddition(UserFields& fields, const std::string& entry) {
  if (!cancelPending(fields.pendingRemovals, entry)) fields.pendingAdditions.push_back(entry);
}

std::vector<std::string> globalGroupNames(std::string_view server) {
  return readAll<GROUP_INFO_0>(
      [&](NetBuffer& b, DWORD* read, DWORD* total, DWORD* resume) {
        return NetGroupEnum(server, 0, b, MAX_PREFERRED_LENGTH, read, total, resume);
      },
      [](const GROUP_INFO_0& g) { return g.grpi0_name; });
}

std::vector<std::string> localGroupNames(std::string_view server) {
  return readAll<LOCALGROUP_INFO_0>(
      [&](NetBuffer& b, DWORD* read, DWORD* total, DWORD* resume) {
        return NetLocalGroupEnum(server, 0, b, MAX_PREFERRED_LENGTH, read, total, resume);
      },
      [](const LOCALGROUP_INFO_0& g) { return g.lgrpi0_name; });
}

std::vector<std::string> globalGroupMemberNames(std::string_view server, std::string_view group) {
  return readAll<GROUP_USERS_INFO_0>(
      [&](NetBuffer& b, DWORD* read, DWORD* total, DWORD* resume) {
        return NetGroupGetUsers(server, group, 0, b, MAX_PREFERRED_LENGTH, read, total, resume);
      },
      [](const GROUP_USERS_INFO_0& u) { return u.grui0_name; });
}

std::vector<std::string> localGroupMemberNames(std::string_view server, std::string_view group) {
  return readAll<LOCALGROUP_MEMBERS_INFO_2>(
      [&](NetBuffer& b, DWORD* read, DWORD* total, DWORD* resume) {
        return NetLocalGroupGetMembers(server, group, 2, b, MAX_PREFERRED_LENGTH, read, total,
                                       resume);
      },
      [](const LOCALGROUP_MEMBERS_INFO_2& m) { return m.lgrmi2_domainandname; });
}

std::vector<std::string> userGlobalGroups(std::string_view server, std::string_view account) {
  NetBuffer buffer;
  DWORD read = 0;
  DWORD total = 0;
  std::vector<std::string> names;
  if (NetUserGetGroups(server, account, 0, buffer, MAX_PREFERRED_LENGTH, &read, &total) ==
      NERR_Success)
    for (const auto& g : buffer.get<GROUP_USERS_INFO_0>()) names.push_back(g.grui0_name);
  return names;
}

std::vector<std::string> userLocalGroups(std::string_view server, std::string_view account,
                                         bool withIndirect) {
  NetBuffer buffer;
  DWORD read = 0;
  DWORD total = 0;
  std::vector<std::string> names;
  if (NetUserGetLocalGroups(server, account, 0, withIndirect ? LG_INCLUDE_INDIRECT : 0, buffer,
                            MAX_PREFERRED_LENGTH, &read, &total) == NERR_Success)
    for (const auto& g : buffer.get<LOCALGROUP_USERS_INFO_0>()) names.push_back(g.lgrui0_name);
  return names;
}

}  // namespace users
