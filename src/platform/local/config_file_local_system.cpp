#include "platform/local/config_file_local_system.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include <nlohmann/json.hpp>
#include <pwd.h>
#include <sys/utsname.h>
#include <unistd.h>

#include "platform/atomic_file.h"

namespace platform {
namespace {

using json = nlohmann::json;

constexpr int kFormat = 1;

std::string upper(std::string_view text) {
  std::string out(text);
  std::transform(out.begin(), out.end(), out.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return out;
}

std::string trimSlashes(std::string_view p) {
  while (!p.empty() && p.front() == '\\') p.remove_prefix(1);
  while (!p.empty() && p.back() == '\\') p.remove_suffix(1);
  return std::string(p);
}

std::string join(std::string_view base, std::string_view sub) {
  const auto tail = trimSlashes(sub);
  if (tail.empty()) return std::string(base);
  return std::string(base) + "\\" + tail;
}

const char* rootName(HKEY key) {
  switch (key) {
    case HKEY_CLASSES_ROOT: return "HKEY_CLASSES_ROOT";
    case HKEY_CURRENT_USER: return "HKEY_CURRENT_USER";
    case HKEY_LOCAL_MACHINE: return "HKEY_LOCAL_MACHINE";
    case HKEY_USERS: return "HKEY_USERS";
    default: return nullptr;
  }
}

std::string hexOf(const std::vector<std::uint8_t>& data) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (auto b : data) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

bool bytesOf(std::string_view hex, std::vector<std::uint8_t>* out) {
  if (hex.size() % 2 != 0) return false;
  auto digit = [](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  };
  out->clear();
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = digit(hex[i]), lo = digit(hex[i + 1]);
    if (hi < 0 || lo < 0) return false;
    out->push_back(static_cast<std::uint8_t>(hi * 16 + lo));
  }
  return true;
}

constexpr LONG status(DWORD code) { return static_cast<LONG>(code); }

// Hands a stored value to a reader: a size query when `data` is empty, else
// the bytes when they fit.
LONG answerValue(DWORD storedType, const std::vector<std::uint8_t>& stored, DWORD* type,
                 std::span<std::uint8_t> data, DWORD* cbData) {
  if (type) *type = storedType;
  if (cbData) *cbData = static_cast<DWORD>(stored.size());
  if (data.empty()) return ERROR_SUCCESS;
  if (data.size() < stored.size()) return status(ERROR_MORE_DATA);
  std::copy(stored.begin(), stored.end(), data.begin());
  return ERROR_SUCCESS;
}

}  // namespace

std::string defaultLocalRegistryPath() {
  namespace fs = std::filesystem;
  if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg)
    return (fs::path(xdg) / "veltrane" / "registry.json").string();
  if (const char* home = std::getenv("HOME"); home && *home)
    return (fs::path(home) / ".config" / "veltrane" / "registry.json").string();
  return {};
}

ConfigFileLocalSystem::ConfigFileLocalSystem(std::string path) : m_path(std::move(path)) {}

std::string ConfigFileLocalSystem::loadError() {
  std::lock_guard lock(m_mutex);
  loadLocked();
  return m_loadError;
}

void ConfigFileLocalSystem::loadLocked() {
  if (m_loaded) return;
  m_loaded = true;
  std::error_code ec;
  if (m_path.empty()) {
    m_loadError = "no place for the settings file: neither XDG_CONFIG_HOME nor HOME is set";
    return;
  }
  if (!std::filesystem::exists(m_path, ec)) return;  // a first start: nothing stored yet
  std::string text;
  if (!readWholeFile(m_path, &text, &m_loadError)) return;
  const json doc = json::parse(text, nullptr, /*allow_exceptions=*/false);
  auto bad = [&](const std::string& what) {
    m_loadError = m_path + ": " + what;
    m_keys.clear();
  };
  if (doc.is_discarded() || !doc.is_object()) return bad("not a settings file (invalid JSON)");
  if (doc.value("format", 0) != kFormat) return bad("unknown format");
  const auto keys = doc.find("keys");
  if (keys == doc.end() || !keys->is_array()) return bad("\"keys\" is missing");
  for (const auto& k : *keys) {
    if (!k.is_object() || !k.contains("path") || !k["path"].is_string())
      return bad("a key without a path");
    Key key{k["path"].get<std::string>(), {}};
    if (const auto values = k.find("values"); values != k.end()) {
      if (!values->is_array()) return bad("\"values\" of " + key.path + " is not a list");
      for (const auto& v : *values) {
        Value value;
        if (!v.is_object() || !v.contains("name") || !v["name"].is_string() ||
            !v.contains("type") || !v["type"].is_number_unsigned() || !v.contains("data") ||
            !v["data"].is_string() || !bytesOf(v["data"].get<std::string>(), &value.data))
          return bad("a bad value in " + key.path);
        value.name = v["name"].get<std::string>();
        value.type = v["type"].get<DWORD>();
        key.values.push_back(std::move(value));
      }
    }
    m_keys[upper(key.path)] = std::move(key);
  }
}

LONG ConfigFileLocalSystem::saveOrRevert(std::map<std::string, Key> before) {
  json keys = json::array();
  for (const auto& [id, key] : m_keys) {
    json values = json::array();
    for (const auto& v : key.values)
      values.push_back({{"name", v.name}, {"type", v.type}, {"data", hexOf(v.data)}});
    keys.push_back({{"path", key.path}, {"values", std::move(values)}});
  }
  const json doc = {{"format", kFormat}, {"keys", std::move(keys)}};
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(m_path).parent_path(), ec);
  std::string error;
  if (writeFileAtomically(m_path, doc.dump(1), &error)) return ERROR_SUCCESS;
  m_keys = std::move(before);
  return status(ERROR_WRITE_FAULT);
}

HKEY ConfigFileLocalSystem::addHandle(OpenKey key) {
  const HKEY h = m_nextHandle++;
  m_handles.emplace(h, std::move(key));
  return h;
}

bool ConfigFileLocalSystem::openKeyOf(HKEY key, OpenKey* out, std::string* display) const {
  if (const char* root = rootName(key)) {
    *out = OpenKey{root, KEY_ALL_ACCESS};
    if (display) *display = root;
    return true;
  }
  auto it = m_handles.find(key);
  if (it == m_handles.end()) return false;
  *out = it->second;
  if (display) {
    auto k = m_keys.find(out->id);
    *display = k != m_keys.end() ? k->second.path : out->id;
  }
  return true;
}

LONG ConfigFileLocalSystem::RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD,
                                           REGSAM access, HKEY* result, DWORD* disposition) {
  std::lock_guard lock(m_mutex);
  loadLocked();
  if (!m_loadError.empty()) return status(ERROR_FILE_CORRUPT);
  OpenKey base;
  std::string basePath;
  if (!openKeyOf(key, &base, &basePath)) return status(ERROR_INVALID_HANDLE);
  const std::string full = join(basePath, subkey);
  DWORD disp = REG_OPENED_EXISTING_KEY;
  if (!m_keys.count(upper(full))) {
    auto before = m_keys;
    // Every missing key on the way down is created, as the registry does.
    std::string path = basePath;
    const std::string below = trimSlashes(subkey);
    std::string_view rest = below;
    while (!rest.empty()) {
      const auto slash = rest.find('\\');
      path = join(path, rest.substr(0, slash));
      auto& k = m_keys[upper(path)];
      if (k.path.empty()) k.path = path;
      if (slash == std::string_view::npos) break;
      rest.remove_prefix(slash + 1);
    }
    if (const LONG st = saveOrRevert(std::move(before)); st != ERROR_SUCCESS) return st;
    disp = REG_CREATED_NEW_KEY;
  }
  if (result) *result = addHandle(OpenKey{upper(full), access});
  if (disposition) *disposition = disp;
  return ERROR_SUCCESS;
}

LONG ConfigFileLocalSystem::RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD,
                                         REGSAM access, HKEY* result) {
  std::lock_guard lock(m_mutex);
  loadLocked();
  if (!m_loadError.empty()) return status(ERROR_FILE_CORRUPT);
  OpenKey base;
  std::string basePath;
  if (!openKeyOf(key, &base, &basePath)) return status(ERROR_INVALID_HANDLE);
  const std::string id = upper(join(basePath, subkey));
  const bool isRoot = id == base.id && rootName(key) != nullptr;
  if (!isRoot && !m_keys.count(id)) return status(ERROR_FILE_NOT_FOUND);
  if (result) *result = addHandle(OpenKey{id, access});
  return ERROR_SUCCESS;
}

LONG ConfigFileLocalSystem::RegCloseKey(HKEY key) {
  if (rootName(key)) return ERROR_SUCCESS;
  std::lock_guard lock(m_mutex);
  return m_handles.erase(key) ? ERROR_SUCCESS : status(ERROR_INVALID_HANDLE);
}

LONG ConfigFileLocalSystem::RegConnectRegistry(std::string_view machine, HKEY key,
                                               HKEY* result) {
  // Only this machine's own registry is here; other machines belong to the
  // network backend.
  if (!machine.empty()) return status(ERROR_BAD_NETPATH);
  if (key != HKEY_LOCAL_MACHINE && key != HKEY_USERS) return status(ERROR_INVALID_HANDLE);
  return RegOpenKeyEx(key, {}, 0, KEY_ALL_ACCESS, result);
}

LONG ConfigFileLocalSystem::RegQueryValueEx(HKEY key, std::string_view name, DWORD* type,
                                            std::span<std::uint8_t> data, DWORD* cbData) {
  std::lock_guard lock(m_mutex);
  OpenKey k;
  if (!openKeyOf(key, &k, nullptr)) return status(ERROR_INVALID_HANDLE);
  if (!(k.access & KEY_QUERY_VALUE)) return status(ERROR_ACCESS_DENIED);
  auto it = m_keys.find(k.id);
  if (it == m_keys.end()) return status(ERROR_FILE_NOT_FOUND);
  const auto wanted = upper(name);
  const auto& values = it->second.values;
  const auto v = std::find_if(values.begin(), values.end(),
                              [&](const Value& x) { return upper(x.name) == wanted; });
  if (v == values.end()) return status(ERROR_FILE_NOT_FOUND);
  return answerValue(v->type, v->data, type, data, cbData);
}

LONG ConfigFileLocalSystem::RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                                          std::span<const std::uint8_t> data) {
  std::lock_guard lock(m_mutex);
  OpenKey k;
  std::string path;
  if (!openKeyOf(key, &k, &path)) return status(ERROR_INVALID_HANDLE);
  if (!(k.access & KEY_SET_VALUE)) return status(ERROR_ACCESS_DENIED);
  auto before = m_keys;
  auto& target = m_keys[k.id];
  if (target.path.empty()) target.path = path;
  const auto wanted = upper(name);
  auto& values = target.values;
  const auto v = std::find_if(values.begin(), values.end(),
                              [&](const Value& x) { return upper(x.name) == wanted; });
  const std::vector<std::uint8_t> bytes(data.begin(), data.end());
  if (v == values.end()) {
    values.push_back(Value{std::string(name), type, bytes});
  } else {
    if (v->type == type && v->data == bytes) return ERROR_SUCCESS;  // nothing to write
    v->type = type;
    v->data = bytes;
  }
  return saveOrRevert(std::move(before));
}

LONG ConfigFileLocalSystem::RegDeleteValue(HKEY key, std::string_view name) {
  std::lock_guard lock(m_mutex);
  OpenKey k;
  if (!openKeyOf(key, &k, nullptr)) return status(ERROR_INVALID_HANDLE);
  if (!(k.access & KEY_SET_VALUE)) return status(ERROR_ACCESS_DENIED);
  auto it = m_keys.find(k.id);
  if (it == m_keys.end()) return status(ERROR_FILE_NOT_FOUND);
  auto before = m_keys;
  const auto wanted = upper(name);
  auto& values = m_keys[k.id].values;
  const auto erased = std::erase_if(values, [&](const Value& x) { return upper(x.name) == wanted; });
  if (erased == 0) return status(ERROR_FILE_NOT_FOUND);
  return saveOrRevert(std::move(before));
}

LONG ConfigFileLocalSystem::RegEnumValue(HKEY key, DWORD index, std::string* name,
                                         DWORD nameCapacity, DWORD* type,
                                         std::span<std::uint8_t> data, DWORD* cbData) {
  std::lock_guard lock(m_mutex);
  OpenKey k;
  if (!openKeyOf(key, &k, nullptr)) return status(ERROR_INVALID_HANDLE);
  if (!(k.access & KEY_QUERY_VALUE)) return status(ERROR_ACCESS_DENIED);
  auto it = m_keys.find(k.id);
  if (it == m_keys.end()) return status(ERROR_NO_MORE_ITEMS);
  const auto& values = it->second.values;
  if (index >= values.size()) return status(ERROR_NO_MORE_ITEMS);
  const auto& v = values[index];
  if (v.name.size() + 1 > nameCapacity) return status(ERROR_MORE_DATA);
  if (name) *name = v.name;
  return answerValue(v.type, v.data, type, data, cbData);
}

BOOL ConfigFileLocalSystem::GetVersionEx(OSVERSIONINFOA* info) {
  if (!info) return 0;
  // The program speaks the NT protocols from here, so this machine counts
  // as of the NT family; the figures are the running kernel's.
  utsname u{};
  if (::uname(&u) != 0) return 0;
  unsigned major = 0, minor = 0, build = 0;
  std::sscanf(u.release, "%u.%u.%u", &major, &minor, &build);
  info->dwMajorVersion = major;
  info->dwMinorVersion = minor;
  info->dwBuildNumber = build;
  info->dwPlatformId = VER_PLATFORM_WIN32_NT;
  info->szCSDVersion = u.sysname;
  return 1;
}

BOOL ConfigFileLocalSystem::GetUserName(std::string* name) {
  if (!name) return 0;
  if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name) {
    *name = pw->pw_name;
    return 1;
  }
  if (const char* user = std::getenv("USER"); user && *user) {
    *name = user;
    return 1;
  }
  return 0;
}

BOOL ConfigFileLocalSystem::GetComputerName(std::string* name) {
  if (!name) return 0;
  char host[256] = {};
  if (::gethostname(host, sizeof host - 1) != 0 || !*host) return 0;
  std::string text(host);
  // A NetBIOS-style name: the first label, upper case.
  text = upper(text.substr(0, text.find('.')));
  *name = text;
  return 1;
}

}  // namespace platform
