#include "platform/samba/version_registry.h"

#include <algorithm>
#include <cctype>

#include "platform/registry.h"

namespace platform::samba {
namespace {

constexpr std::string_view kVersionKey = "SOFTWARE\\MICROSOFT\\WINDOWS NT\\CURRENTVERSION";

std::string upper(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

// "\\NAME" or "NAME" as the upper-case name.
std::string machineName(std::string_view machine) {
  while (machine.starts_with('\\')) machine.remove_prefix(1);
  return upper(machine);
}

// "a\\b" below "a": "a\\b"; below "": "b". Separators doubled or at the ends
// are dropped.
std::string joined(std::string_view base, std::string_view sub) {
  std::string out(base);
  std::size_t at = 0;
  while (at <= sub.size()) {
    const std::size_t end = std::min(sub.find('\\', at), sub.size());
    if (end > at) {
      if (!out.empty()) out += '\\';
      out += upper(sub.substr(at, end - at));
    }
    at = end + 1;
  }
  return out;
}

// The version key itself or a key on the way to it.
bool knownPath(std::string_view path) {
  return path.empty() || path == kVersionKey ||
         (kVersionKey.starts_with(path) && kVersionKey[path.size()] == '\\');
}

// "10.0 (17763)" as "10.0".
std::string versionNumber(std::string_view version) {
  const std::size_t end = version.find_first_not_of("0123456789.");
  return std::string(version.substr(0, end));
}

}  // namespace

std::string buildOf(std::string_view version) {
  const std::size_t open = version.find('(');
  if (open == std::string_view::npos) return {};
  const std::size_t close = version.find(')', open);
  if (close == std::string_view::npos) return {};
  const std::string_view inside = version.substr(open + 1, close - open - 1);
  if (inside.empty() || inside.find_first_not_of("0123456789") != std::string_view::npos)
    return {};
  return std::string(inside);
}

void ComputerSystems::remember(std::string_view name, ComputerSystem system) {
  std::lock_guard lock(m_mutex);
  m_byName.insert_or_assign(upper(name), std::move(system));
}

std::optional<ComputerSystem> ComputerSystems::find(std::string_view name) const {
  std::lock_guard lock(m_mutex);
  const auto it = m_byName.find(upper(name));
  if (it == m_byName.end()) return std::nullopt;
  return it->second;
}

VersionRegistry::VersionRegistry(std::shared_ptr<const ComputerSystems> computers)
    : m_computers(std::move(computers)) {}

std::optional<VersionRegistry::OpenKey> VersionRegistry::keyOf(HKEY key) const {
  std::lock_guard lock(m_mutex);
  const auto it = m_keys.find(key);
  if (it == m_keys.end()) return std::nullopt;
  return it->second;
}

std::vector<VersionRegistry::Value> VersionRegistry::valuesOf(const OpenKey& key) const {
  std::vector<Value> values;
  if (key.path != kVersionKey) return values;
  const std::optional<ComputerSystem> computer = m_computers->find(key.machine);
  if (!computer) return values;
  values.push_back({"CurrentBuildNumber", buildOf(computer->version)});
  if (!computer->servicePack.empty()) values.push_back({"CSDVersion", computer->servicePack});
  if (const std::string number = versionNumber(computer->version); !number.empty())
    values.push_back({"CurrentVersion", number});
  if (!computer->system.empty()) values.push_back({"ProductName", computer->system});
  return values;
}

LONG VersionRegistry::RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) {
  if (!result) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
  *result = 0;
  const std::string name = machineName(machine);
  const std::optional<ComputerSystem> computer = m_computers->find(name);
  if (key != HKEY_LOCAL_MACHINE || !computer || buildOf(computer->version).empty())
    return static_cast<LONG>(ERROR_NOT_SUPPORTED);
  std::lock_guard lock(m_mutex);
  *result = m_next++;
  m_keys.emplace(*result, OpenKey{name, {}});
  return static_cast<LONG>(ERROR_SUCCESS);
}

LONG VersionRegistry::RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD, REGSAM access,
                                   HKEY* result) {
  if (!result) return static_cast<LONG>(ERROR_INVALID_PARAMETER);
  *result = 0;
  const std::optional<OpenKey> base = keyOf(key);
  if (!base) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  if (access & (KEY_SET_VALUE | KEY_CREATE_SUB_KEY)) return static_cast<LONG>(ERROR_ACCESS_DENIED);
  OpenKey opened{base->machine, joined(base->path, subkey)};
  if (!knownPath(opened.path)) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
  std::lock_guard lock(m_mutex);
  *result = m_next++;
  m_keys.emplace(*result, std::move(opened));
  return static_cast<LONG>(ERROR_SUCCESS);
}

LONG VersionRegistry::RegCloseKey(HKEY key) {
  std::lock_guard lock(m_mutex);
  return static_cast<LONG>(m_keys.erase(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE);
}

LONG VersionRegistry::RegQueryValueEx(HKEY key, std::string_view name, DWORD* type,
                                      std::span<std::uint8_t> data, DWORD* cbData) {
  const std::optional<OpenKey> k = keyOf(key);
  if (!k) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  const std::vector<Value> values = valuesOf(*k);
  const auto v = std::find_if(values.begin(), values.end(),
                              [&](const Value& x) { return upper(x.name) == upper(name); });
  if (v == values.end()) return static_cast<LONG>(ERROR_FILE_NOT_FOUND);
  const std::vector<std::uint8_t> bytes = regSzBytes(v->text);
  if (type) *type = REG_SZ;
  if (cbData) *cbData = static_cast<DWORD>(bytes.size());
  if (data.empty()) return static_cast<LONG>(ERROR_SUCCESS);  // a size query
  if (data.size() < bytes.size()) return static_cast<LONG>(ERROR_MORE_DATA);
  std::copy(bytes.begin(), bytes.end(), data.begin());
  return static_cast<LONG>(ERROR_SUCCESS);
}

LONG VersionRegistry::RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity,
                                   DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) {
  const std::optional<OpenKey> k = keyOf(key);
  if (!k) return static_cast<LONG>(ERROR_INVALID_HANDLE);
  const std::vector<Value> values = valuesOf(*k);
  if (index >= values.size()) return static_cast<LONG>(ERROR_NO_MORE_ITEMS);
  const Value& v = values[index];
  const std::vector<std::uint8_t> bytes = regSzBytes(v.text);
  if (cbData) *cbData = static_cast<DWORD>(bytes.size());
  if (type) *type = REG_SZ;
  if (v.name.size() + 1 > nameCapacity || (!data.empty() && data.size() < bytes.size()))
    return static_cast<LONG>(ERROR_MORE_DATA);
  if (name) *name = v.name;
  if (!data.empty()) std::copy(bytes.begin(), bytes.end(), data.begin());
  return static_cast<LONG>(ERROR_SUCCESS);
}

LONG VersionRegistry::RegCreateKeyEx(HKEY key, std::string_view, DWORD, REGSAM, HKEY* result,
                                     DWORD*) {
  if (result) *result = 0;
  return static_cast<LONG>(keyOf(key) ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
}

LONG VersionRegistry::RegSetValueEx(HKEY key, std::string_view, DWORD,
                                    std::span<const std::uint8_t>) {
  return static_cast<LONG>(keyOf(key) ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
}

LONG VersionRegistry::RegDeleteValue(HKEY key, std::string_view) {
  return static_cast<LONG>(keyOf(key) ? ERROR_ACCESS_DENIED : ERROR_INVALID_HANDLE);
}

}  // namespace platform::samba
