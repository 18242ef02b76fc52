#include "transfer/import/preview_lookup.h"

namespace transfer {

namespace {

// Names as the server compares them.
std::string key(std::string_view name) {
  std::string out(name);
  for (char& c : out)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return out;
}

// Every entry of a paged member enumeration; `call` is one page's call.
template <class Entry, class Call, class Take>
void readAll(Call call, Take take) {
  platform::DWORD resume = 0;
  while (true) {
    platform::NetBuffer buffer;
    platform::DWORD read = 0, total = 0;
    const platform::DWORD status = call(buffer, &read, &total, &resume);
    if (status != 0 && status != platform::ERROR_MORE_DATA) return;
    for (const Entry& e : buffer.get<Entry>()) take(e);
    if (status == 0 || read == 0) return;
  }
}

}  // namespace

template <class Info>
Lookup<Info> PreviewLookup::checked(Lookup<Info> answer, platform::DWORD notFound,
                                    platform::DWORD alsoNotFound) {
  if (!answer.answered() && answer.status != notFound && answer.status != alsoNotFound &&
      !m_failure)
    m_failure = answer.status;
  return answer;
}

Lookup<platform::USER_INFO_3> PreviewLookup::user(std::string_view name) {
  if (auto it = m_users.find(key(name)); it != m_users.end()) return {0, it->second};
  return checked(m_lookup.user(name), platform::NERR_UserNotFound, platform::NERR_UserNotFound);
}

Lookup<platform::GROUP_INFO_2> PreviewLookup::globalGroup(std::string_view name) {
  if (auto it = m_globals.find(key(name)); it != m_globals.end()) return {0, it->second};
  return checked(m_lookup.globalGroup(name), platform::NERR_GroupNotFound,
                 platform::NERR_GroupNotFound);
}

Lookup<platform::LOCALGROUP_INFO_1> PreviewLookup::localGroup(std::string_view name) {
  if (auto it = m_locals.find(key(name)); it != m_locals.end()) return {0, it->second};
  return checked(m_lookup.localGroup(name), platform::NERR_GroupNotFound,
                 platform::ERROR_NO_SUCH_ALIAS);
}

std::optional<platform::DWORD> PreviewLookup::takeLookupFailure() {
  return std::exchange(m_failure, std::nullopt);
}

void PreviewLookup::rememberUser(const platform::USER_INFO_3& account) {
  platform::USER_INFO_3 kept = account;
  kept.usri3_password.clear();  // never read back
  kept.usri3_password_expired = kept.usri3_password_expired != 0 ? 1 : 0;
  m_users.insert_or_assign(key(account.usri3_name), std::move(kept));
}

void PreviewLookup::rememberGroup(const platform::GROUP_INFO_2& group, bool added) {
  m_globals.insert_or_assign(key(group.grpi2_name), group);
  if (added) m_added.insert(key(group.grpi2_name));
}

void PreviewLookup::rememberGroup(const platform::LOCALGROUP_INFO_1& group, bool added) {
  m_locals.insert_or_assign(key(group.lgrpi1_name), group);
  if (added) m_added.insert(key(group.lgrpi1_name));
}

void PreviewLookup::rememberMember(std::string_view group, std::string_view member) {
  m_members.emplace(key(group), key(member));
}

void PreviewLookup::rememberHome(std::string_view path) { m_homes.insert(key(path)); }

bool PreviewLookup::inGlobalGroup(std::string_view group, std::string_view user) {
  const std::string g = key(group);
  if (m_members.contains({g, key(user)})) return true;
  if (m_added.contains(g)) return false;  // new: only the members laid over it
  auto [it, fresh] = m_globalMembers.try_emplace(g);
  if (fresh) {
    readAll<platform::GROUP_USERS_INFO_0>(
        [&](platform::NetBuffer& b, platform::DWORD* read, platform::DWORD* total,
            platform::DWORD* resume) {
          return platform::NetGroupGetUsers(m_server, group, 0, b, platform::MAX_PREFERRED_LENGTH,
                                            read, total, resume);
        },
        [&](const platform::GROUP_USERS_INFO_0& e) { it->second.insert(key(e.grui0_name)); });
  }
  return it->second.contains(key(user));
}

bool PreviewLookup::inLocalGroup(std::string_view group, std::string_view member,
                                 const platform::SID& sid) {
  const std::string g = key(group);
  if (m_members.contains({g, key(member)})) return true;
  if (m_added.contains(g) || sid.empty()) return false;
  auto [it, fresh] = m_localMembers.try_emplace(g);
  if (fresh) {
    readAll<platform::LOCALGROUP_MEMBERS_INFO_0>(
        [&](platform::NetBuffer& b, platform::DWORD* read, platform::DWORD* total,
            platform::DWORD* resume) {
          return platform::NetLocalGroupGetMembers(m_server, group, 0, b,
                                                   platform::MAX_PREFERRED_LENGTH, read, total,
                                                   resume);
        },
        [&](const platform::LOCALGROUP_MEMBERS_INFO_0& e) { it->second.insert(e.lgrmi0_sid.value); });
  }
  return it->second.contains(sid.value);
}

bool PreviewLookup::addedGlobalGroup(std::string_view name) const {
  const std::string k = key(name);
  return m_added.contains(k) && m_globals.contains(k);
}

bool PreviewLookup::madeHome(std::string_view path) const { return m_homes.contains(key(path)); }

}  // namespace transfer
