// Registry operations of the lab backend: per-machine hives, the logged-on
// user's own hive, remote connection, exact value sizes.

#include <algorithm>
#include <cstring>

#include "platform/lab/lab_local_system.h"
#include "platform/lab/text_rules.h"
#include "platform/lab/resolve.h"

namespace lab {

using namespace platform;

namespace {

constexpr REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | 0x0020 /*KEY_CREATE_LINK*/ |
                                0x00010000 /*DELETE*/ | 0x00040000 /*WRITE_DAC*/ |
                                0x00080000 /*WRITE_OWNER*/;

std::string trimSlashes(std::string_view p) {
  while (!p.empty() && p.front() == '\\') p.remove_prefix(1);
  while (!p.empty() && p.back() == '\\') p.remove_suffix(1);
  return std::string(p);
}

std::string join(const std::string& base, std::string_view sub) {
  const auto tail = trimSlashes(sub);
  if (base.empty()) return tail;
  if (tail.empty()) return base;
  return base + "\\" + tail;
}

const char* hiveOfRoot(HKEY key) {
  switch (key) {
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    default: return nullptr;
  }
}

// A key's value by name; value names ignore case.
template <class Values>
auto findValue(Values& values, std::string_view name) {
  const auto wanted = upper(name);
  return std::find_if(values.begin(), values.end(),
                      [&](const RegValue& e) { return upper(e.name) == wanted; });
}

}  // namespace

HKEY LabLocalSystem::addHandle(OpenKey key) {
  std::lock_guard lock(m_mutex);
  const HKEY h = m_nextHandle++;
  m_keys.emplace(h, std::move(key));
  return h;
}

bool LabLocalSystem::openKeyOf(HKEY key, OpenKey* out) const {
  if (key == HKEY_CURRENT_USER) {
    *out = OpenKey{{}, "HKEY_CURRENT_USER", {}, KEY_ALL_ACCESS};
    return true;
  }
  if (const char* hive = hiveOfRoot(key)) {
    *out = OpenKey{m_lab->localMachine(), hive, {}, KEY_ALL_ACCESS};
    return true;
  }
  std::lock_guard lock(m_mutex);
  auto it = m_keys.find(key);
  if (it == m_keys.end()) return false;
  *out = it->second;
  return true;
}

namespace {

// The hive an open key lives in, or null.
template <class Net>
auto hiveFor(Net& net, const std::string& machine, const std::string& hive)
    -> decltype(&net.userHives.begin()->second) {
  if (machine.empty()) {
    auto it = net.userHives.find(upper(net.loggedOn));
    return it == net.userHives.end() ? nullptr : &it->second;
  }
  auto* m = net.findMachine(machine);
  if (!m || !m->reachable) return nullptr;
  auto it = m->hives.find(hive);
  return it == m->hives.end() ? nullptr : &it->second;
}

// Writing into a machine's hives takes its administrators; a user's own
// hive is his to write.
bool mayWrite(const Network& net, const std::string& machine) {
  if (machine.empty()) return true;
  const Machine* m = net.findMachine(machine);
  return m && rightsOn(net, *m).administrator;
}

// Records that a key of an open key's hive changed.
void touchKey(ChangeSet& changes, const Network& net, const std::string& machine,
              const std::string& hive, const std::string& upperPath) {
  if (machine.empty()) changes.userKey(upper(net.loggedOn), upperPath);
  else if (const Machine* m = net.findMachine(machine)) changes.machineKey(*m, hive, upperPath);
}

}  // namespace

LONG LabLocalSystem::RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD, REGSAM access,
                                HKEY* result, DWORD* disposition) {
  OpenKey base;
  if (!openKeyOf(key, &base)) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  // A key name the lab could not write back is refused before anything is made.
  if (!isWritableText(subkey)) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
  OpenKey opened{base.machine, base.hive, join(base.path, subkey), access};
  DWORD disp = REG_OPENED_EXISTING_KEY;
  const DWORD status = change([&](Network& net, ChangeSet& changes) -> DWORD {
    if (!base.machine.empty()) {
      const Machine* m = net.findMachine(base.machine);
      if (!m || !m->reachable) return ERROR_BAD_NETPATH;
    }
    const bool writing = (access & kWriteAccess) != 0;
    Hive* hive = hiveFor(net, base.machine, base.hive);
    const auto id = upper(opened.path);
    if (hive && hive->count(id)) {
      if (writing && !mayWrite(net, base.machine)) return ERROR_ACCESS_DENIED;
      disp = REG_OPENED_EXISTING_KEY;
      return ERROR_ALREADY_EXISTS;  // nothing changed: no write-back
    }
    if (!mayWrite(net, base.machine)) return ERROR_ACCESS_DENIED;
    if (!hive) {
      if (base.machine.empty()) {
        const auto owner = upper(net.loggedOn);
        net.userHiveNames[owner] = net.loggedOn;
        hive = &net.userHives[owner];
      } else {
        hive = &net.findMachine(base.machine)->hives[base.hive];
      }
    }
    // Create every missing key on the way down, as the registry does.
    std::string path;
    std::string_view rest = opened.path;
    while (true) {
      const auto slash = rest.find('\\');
      path = join(path, rest.substr(0, slash));
      auto& k = (*hive)[upper(path)];
      if (k.path.empty()) {
        k.path = path;
        touchKey(changes, net, base.machine, base.hive, upper(path));
      }
      if (slash == std::string_view::npos) break;
      rest.remove_prefix(slash + 1);
    }
    disp = REG_CREATED_NEW_KEY;
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS && status != ERROR_ALREADY_EXISTS) return static_cast<LONG>(status);
  if (result) *result = addHandle(std::move(opened));
  if (disposition) *disposition = disp;
  return ERROR_SUCCESS;
}

LONG LabLocalSystem::RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD, REGSAM access,
                              HKEY* result) {
  OpenKey base;
  if (!openKeyOf(key, &base)) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  OpenKey opened{base.machine, base.hive, join(base.path, subkey), access};
  const DWORD status = query([&](const Network& net) -> DWORD {
    if (!base.machine.empty()) {
      const Machine* m = net.findMachine(base.machine);
      if (!m || !m->reachable) return ERROR_BAD_NETPATH;
    }
    const Hive* hive = hiveFor(net, base.machine, base.hive);
    if (!opened.path.empty() && (!hive || !hive->count(upper(opened.path)))) {
      return ERROR_FILE_NOT_FOUND;
    }
    if ((access & kWriteAccess) && !mayWrite(net, base.machine)) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) return static_cast<LONG>(status);
  if (result) *result = addHandle(std::move(opened));
  return ERROR_SUCCESS;
}

LONG LabLocalSystem::RegCloseKey(HKEY key) {
  if (hiveOfRoot(key) || key == HKEY_CURRENT_USER) return ERROR_SUCCESS;
  std::lock_guard lock(m_mutex);
  return m_keys.erase(key) ? ERROR_SUCCESS : static_cast<LONG>(ERROR_INVALID_HANDLE);
}

LONG LabLocalSystem::RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) {
  if (key != HKEY_LOCAL_MACHINE && key != HKEY_USERS) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  std::string name;
  const DWORD status = query([&](const Network& net) -> DWORD {
    DWORD st = 0;
    name = machineNameOf(net, machine, &st);
    if (st != 0) return ERROR_BAD_NETPATH;
    const Machine* m = net.findMachine(name);
    if (!m || !m->reachable) return ERROR_BAD_NETPATH;
    const bool local = upper(m->name) == upper(net.localMachine);
    if (!local && !m->remoteRegistry) return ERROR_ACCESS_DENIED;
    if (auto it = m->refusals.find("RegConnectRegistry"); it != m->refusals.end()) return it->second;
    name = m->name;
    return ERROR_SUCCESS;
  });
  if (status != ERROR_SUCCESS) return static_cast<LONG>(status);
  if (result) *result = addHandle(OpenKey{name, hiveOfRoot(key), {}, KEY_ALL_ACCESS});
  return ERROR_SUCCESS;
}

LONG LabLocalSystem::RegQueryValueEx(HKEY key, std::string_view name, DWORD* type,
                                 std::span<std::uint8_t> data, DWORD* cbData) {
  OpenKey k;
  if (!openKeyOf(key, &k)) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  if (!(k.access & KEY_QUERY_VALUE)) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  return static_cast<LONG>(query([&](const Network& net) -> DWORD {
    const Hive* hive = hiveFor(net, k.machine, k.hive);
    if (!hive) return k.machine.empty() ? ERROR_FILE_NOT_FOUND : ERROR_BAD_NETPATH;
    auto it = hive->find(upper(k.path));
    if (it == hive->end()) return ERROR_FILE_NOT_FOUND;
    const auto& values = it->second.values;
    const auto v = findValue(values, name);
    if (v == values.end()) return ERROR_FILE_NOT_FOUND;
    if (type) *type = v->type;
    const auto size = static_cast<DWORD>(v->data.size());
    if (cbData) *cbData = size;
    if (data.empty()) return ERROR_SUCCESS;  // a size query
    if (data.size() < v->data.size()) return ERROR_MORE_DATA;
    std::copy(v->data.begin(), v->data.end(), data.begin());
    return ERROR_SUCCESS;
  }));
}

LONG LabLocalSystem::RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                               std::span<const std::uint8_t> data) {
  OpenKey k;
  if (!openKeyOf(key, &k)) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  if (!(k.access & KEY_SET_VALUE)) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  // Data is kept whatever its bytes (the file writes them as hex); the name
  // must be text the file can hold.
  if (!isWritableText(name)) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
  return static_cast<LONG>(change([&](Network& net, ChangeSet& changes) -> DWORD {
    if (!mayWrite(net, k.machine)) return ERROR_ACCESS_DENIED;
    Hive* hive = hiveFor(net, k.machine, k.hive);
    if (!hive) return k.machine.empty() ? ERROR_FILE_NOT_FOUND : ERROR_BAD_NETPATH;
    auto it = hive->find(upper(k.path));
    if (it == hive->end()) {
      if (!k.path.empty()) return ERROR_FILE_NOT_FOUND;  // deleted under the handle
      it = hive->emplace(std::string(), RegKeyData{}).first;
    }
    auto& values = it->second.values;
    const auto v = findValue(values, name);
    if (v == values.end()) {
      values.push_back(RegValue{std::string(name), type, {data.begin(), data.end()}});
    } else {
      // Setting what is already there changes nothing and writes nothing.
      if (v->type == type && std::equal(v->data.begin(), v->data.end(), data.begin(), data.end())) {
        return ERROR_SUCCESS;
      }
      v->type = type;
      v->data.assign(data.begin(), data.end());
    }
    touchKey(changes, net, k.machine, k.hive, it->first);
    return ERROR_SUCCESS;
  }));
}

LONG LabLocalSystem::RegDeleteValue(HKEY key, std::string_view name) {
  OpenKey k;
  if (!openKeyOf(key, &k)) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  if (!(k.access & KEY_SET_VALUE)) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  // Data is kept whatever its bytes (the file writes them as hex); the name
  // must be text the file can hold.
  if (!isWritableText(name)) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
  return static_cast<LONG>(change([&](Network& net, ChangeSet& changes) -> DWORD {
    if (!mayWrite(net, k.machine)) return ERROR_ACCESS_DENIED;
    Hive* hive = hiveFor(net, k.machine, k.hive);
    if (!hive) return ERROR_FILE_NOT_FOUND;
    auto it = hive->find(upper(k.path));
    if (it == hive->end()) return ERROR_FILE_NOT_FOUND;
    auto& values = it->second.values;
    const auto v = findValue(values, name);
    if (v == values.end()) return ERROR_FILE_NOT_FOUND;
    values.erase(v);
    touchKey(changes, net, k.machine, k.hive, it->first);
    return ERROR_SUCCESS;
  }));
}

LONG LabLocalSystem::RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity,
                              DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) {
  OpenKey k;
  if (!openKeyOf(key, &k)) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  if (!(k.access & KEY_QUERY_VALUE)) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  return static_cast<LONG>(query([&](const Network& net) -> DWORD {
    const Hive* hive = hiveFor(net, k.machine, k.hive);
    if (!hive) return ERROR_NO_MORE_ITEMS;
    auto it = hive->find(upper(k.path));
    if (it == hive->end()) return k.path.empty() ? ERROR_NO_MORE_ITEMS : ERROR_FILE_NOT_FOUND;
    const auto& values = it->second.values;
    if (index >= values.size()) return ERROR_NO_MORE_ITEMS;
    const auto& v = values[index];
    if (v.name.size() + 1 > nameCapacity) return ERROR_MORE_DATA;
    if (name) *name = v.name;
    if (type) *type = v.type;
    if (cbData) *cbData = static_cast<DWORD>(v.data.size());
    if (data.empty()) return ERROR_SUCCESS;
    if (data.size() < v.data.size()) return ERROR_MORE_DATA;
    std::copy(v.data.begin(), v.data.end(), data.begin());
    return ERROR_SUCCESS;
  }));
}

}  // namespace lab
