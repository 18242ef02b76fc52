#include "platform/lab/model.h"

#include <algorithm>

namespace lab {

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  }
  return out;
}

namespace {

// The account type bits decide which lists an account shows in, as the
// account database decides: normal accounts in the user lists, machine trust
// accounts in the machine list, and interdomain trust (and temporary
// duplicate) accounts in neither.
bool isNormalAccount(const User& u) {
  return (u.info.usri3_flags & platform::UF_NORMAL_ACCOUNT) != 0;
}

bool isMachineAccount(const User& u) {
  return (u.info.usri3_flags &
          (platform::UF_WORKSTATION_TRUST_ACCOUNT | platform::UF_SERVER_TRUST_ACCOUNT)) != 0;
}

template <class T>
void sortByName(std::vector<std::size_t>& order, const T& items) {
  std::vector<std::pair<std::string, std::size_t>> keyed;
  keyed.reserve(order.size());
  for (auto i : order) keyed.emplace_back(upper(items[i].name), i);
  std::sort(keyed.begin(), keyed.end());
  for (std::size_t k = 0; k < keyed.size(); ++k) order[k] = keyed[k].second;
}

}  // namespace

void Sam::reindex() {
  userByName.clear();
  groupByName.clear();
  localGroupByName.clear();
  userByName.reserve(users.size());
  for (std::size_t i = 0; i < users.size(); ++i) userByName.emplace(upper(users[i].name), i);
  for (std::size_t i = 0; i < groups.size(); ++i) groupByName.emplace(upper(groups[i].name), i);
  for (std::size_t i = 0; i < localGroups.size(); ++i) {
    localGroupByName.emplace(upper(localGroups[i].name), i);
  }
  indexRidsAndViews();
}

void Sam::indexRidsAndViews() {
  userByRid.clear();
  userSlots.resize(users.size());
  for (std::size_t i = 0; i < users.size(); ++i) userSlots[i] = i;  // slot = place, after a rebuild
  groupByRid.clear();
  normalUsersSorted.clear();
  machineUsersSorted.clear();
  normalUsersInOrder.clear();
  groupsSorted.clear();
  userByRid.reserve(users.size());
  for (std::size_t i = 0; i < users.size(); ++i) {
    userByRid.emplace(users[i].rid, i);
    if (isNormalAccount(users[i])) {
      normalUsersSorted.push_back(i);
      normalUsersInOrder.push_back(i);
    } else if (isMachineAccount(users[i])) {
      machineUsersSorted.push_back(i);
    }
  }
  for (std::size_t i = 0; i < groups.size(); ++i) {
    groupByRid.emplace(groups[i].rid, i);
    groupsSorted.push_back(i);
  }
  sortByName(normalUsersSorted, users);
  sortByName(machineUsersSorted, users);
  sortByName(groupsSorted, groups);
}

namespace {

// Orders names as upper(a) < upper(b) does, without making copies.
bool lessUpper(std::string_view a, std::string_view b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t i = 0; i < n; ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() < b.size();
}

template <class T>
void insertByName(std::vector<std::size_t>& order, const T& items, std::size_t i) {
  const std::string_view name = items[i].name;
  auto pos = std::lower_bound(order.begin(), order.end(), name, [&](std::size_t a, std::string_view k) {
    return lessUpper(items[a].name, k);
  });
  order.insert(pos, i);
}

void insertByIndex(std::vector<std::size_t>& order, std::size_t i) {
  order.insert(std::lower_bound(order.begin(), order.end(), i), i);
}

// Drops entry `i` from an index list; the entries after it in the account
// list moved down by one.
void dropShifted(std::vector<std::size_t>& order, std::size_t i) {
  std::erase(order, i);
  for (auto& k : order) if (k > i) --k;
}

template <class Map>
void shiftDown(Map& map, std::size_t i) {
  for (auto& [key, k] : map) if (k > i) --k;
}

}  // namespace

void Sam::addUser(User user) {
  const std::size_t i = users.size();
  users.push_back(std::move(user));
  const std::size_t slot = userSlots.size();
  userSlots.push_back(i);
  userByName.emplace(upper(users[i].name), slot);
  userByRid.emplace(users[i].rid, slot);
  if (isNormalAccount(users[i])) {
    insertByName(normalUsersSorted, users, i);
    normalUsersInOrder.push_back(i);
  } else if (isMachineAccount(users[i])) {
    insertByName(machineUsersSorted, users, i);
  }
}

void Sam::addGroup(Group group) {
  const std::size_t i = groups.size();
  groups.push_back(std::move(group));
  groupByName.emplace(upper(groups[i].name), i);
  groupByRid.emplace(groups[i].rid, i);
  insertByName(groupsSorted, groups, i);
}

void Sam::addLocalGroup(LocalGroup group) {
  const std::size_t i = localGroups.size();
  localGroups.push_back(std::move(group));
  localGroupByName.emplace(upper(localGroups[i].name), i);
}

bool Sam::removeUser(DWORD rid) {
  auto it = userByRid.find(rid);
  if (it == userByRid.end()) return false;
  const std::size_t i = userSlots[it->second];
  userSlots[it->second] = kGone;
  userByRid.erase(it);
  userByName.erase(upper(users[i].name));
  users.erase(i);
  for (auto& place : userSlots) {
    if (place != kGone && place > i) --place;
  }
  dropShifted(normalUsersSorted, i);
  dropShifted(normalUsersInOrder, i);
  dropShifted(machineUsersSorted, i);
  return true;
}

bool Sam::removeGroup(DWORD rid) {
  auto it = groupByRid.find(rid);
  if (it == groupByRid.end()) return false;
  const std::size_t i = it->second;
  groupByRid.erase(it);
  groupByName.erase(upper(groups[i].name));
  groups.erase(groups.begin() + static_cast<std::ptrdiff_t>(i));
  shiftDown(groupByRid, i);
  shiftDown(groupByName, i);
  dropShifted(groupsSorted, i);
  return true;
}

bool Sam::removeLocalGroup(DWORD rid) {
  auto it = std::find_if(localGroups.begin(), localGroups.end(),
                         [&](const LocalGroup& g) { return g.rid == rid; });
  if (it == localGroups.end()) return false;
  const auto i = static_cast<std::size_t>(it - localGroups.begin());
  localGroupByName.erase(upper(it->name));
  localGroups.erase(it);
  shiftDown(localGroupByName, i);
  return true;
}

void Sam::userChanged(std::size_t i, std::string_view oldName) {
  const std::size_t slot = userByRid.at(users[i].rid);
  userByName.erase(upper(oldName));
  userByName.emplace(upper(users[i].name), slot);
  std::erase(normalUsersSorted, i);
  std::erase(machineUsersSorted, i);
  std::erase(normalUsersInOrder, i);
  if (isNormalAccount(users[i])) {
    insertByName(normalUsersSorted, users, i);
    insertByIndex(normalUsersInOrder, i);
  } else if (isMachineAccount(users[i])) {
    insertByName(machineUsersSorted, users, i);
  }
}

void Sam::renameGroup(std::size_t i, std::string name) {
  groupByName.erase(upper(groups[i].name));
  groups[i].name = std::move(name);
  groupByName.emplace(upper(groups[i].name), i);
  std::erase(groupsSorted, i);
  insertByName(groupsSorted, groups, i);
}

void Sam::renameLocalGroup(std::size_t i, std::string name) {
  localGroupByName.erase(upper(localGroups[i].name));
  localGroups[i].name = std::move(name);
  localGroupByName.emplace(upper(localGroups[i].name), i);
}

User* Sam::findUser(std::string_view n) {
  auto it = userByName.find(upper(n));
  return it == userByName.end() ? nullptr : &users[userSlots[it->second]];
}
const User* Sam::findUser(std::string_view n) const {
  auto it = userByName.find(upper(n));
  return it == userByName.end() ? nullptr : &users[userSlots[it->second]];
}
Group* Sam::findGroup(std::string_view n) {
  auto it = groupByName.find(upper(n));
  return it == groupByName.end() ? nullptr : &groups[it->second];
}
const Group* Sam::findGroup(std::string_view n) const {
  auto it = groupByName.find(upper(n));
  return it == groupByName.end() ? nullptr : &groups[it->second];
}
LocalGroup* Sam::findLocalGroup(std::string_view n) {
  auto it = localGroupByName.find(upper(n));
  return it == localGroupByName.end() ? nullptr : &localGroups[it->second];
}
const LocalGroup* Sam::findLocalGroup(std::string_view n) const {
  auto it = localGroupByName.find(upper(n));
  return it == localGroupByName.end() ? nullptr : &localGroups[it->second];
}
const User* Sam::userByRidOrNull(DWORD r) const {
  auto it = userByRid.find(r);
  return it == userByRid.end() ? nullptr : &users[userSlots[it->second]];
}
const Group* Sam::groupByRidOrNull(DWORD r) const {
  auto it = groupByRid.find(r);
  return it == groupByRid.end() ? nullptr : &groups[it->second];
}

DWORD Sam::allocateRid() {
  auto used = [this](DWORD r) {
    if (userByRid.count(r) || groupByRid.count(r)) return true;
    for (const auto& g : localGroups) if (g.rid == r) return true;
    for (const auto& d : deleted) if (d.rid == r) return true;
    return false;
  };
  while (used(nextRid)) ++nextRid;
  return nextRid++;
}

bool Sam::nameTaken(std::string_view n) const {
  const auto key = upper(n);
  return userByName.count(key) || groupByName.count(key) || localGroupByName.count(key);
}

platform::SID accountSid(const Sam& sam, DWORD rid, AccountKind kind) {
  if (kind == AccountKind::LocalGroup && isBuiltinRid(rid)) {
    return {std::string(kBuiltinSid) + "-" + std::to_string(rid)};
  }
  return {sam.sid.value + "-" + std::to_string(rid)};
}

User builtinAdministrator() {
  User admin;
  admin.name = "Administrator";
  admin.rid = 500;
  admin.info.usri3_priv = platform::USER_PRIV_ADMIN;
  admin.info.usri3_comment = "Built-in account for administering the computer/domain";
  admin.info.usri3_flags =
      platform::UF_SCRIPT | platform::UF_NORMAL_ACCOUNT | platform::UF_DONT_EXPIRE_PASSWD;
  return admin;
}

namespace {

// Case-insensitive equality without making upper-case copies: the look-ups
// below run for every remote call of a browse over thousands of machines.
bool sameName(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x = static_cast<char>(x - 'a' + 'A');
    if (y >= 'a' && y <= 'z') y = static_cast<char>(y - 'a' + 'A');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

Domain* Network::findDomain(std::string_view n) {
  for (auto& d : domains) if (sameName(d.name, n)) return &d;
  return nullptr;
}
const Domain* Network::findDomain(std::string_view n) const {
  return const_cast<Network*>(this)->findDomain(n);
}
Machine* Network::findMachine(std::string_view n) {
  for (auto& m : machines) if (sameName(m.name, n)) return &m;
  return nullptr;
}
const Machine* Network::findMachine(std::string_view n) const {
  return const_cast<Network*>(this)->findMachine(n);
}

}  // namespace lab
