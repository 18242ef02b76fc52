// The registry calls. Predefined roots and connections without a machine
// name are the local system's registry; connections to a machine go to the
// backend's registry part. Each part numbers its keys in its own way, so the
// program's handles are mapped to (part, part's handle) here: a key opened
// below a connection goes back to the part that opened the connection.

#include <mutex>
#include <unordered_map>

#include "platform/installed_backend.h"

namespace platform {
namespace {

struct Route {
  std::shared_ptr<RegistryPart> part;
  HKEY inner = 0;
};

class KeyTable {
 public:
  HKEY add(Route route) {
    std::lock_guard lock(m_mutex);
    // Below the predefined roots' bit, which RegKey never closes.
    if (m_next >= 0x80000000u) m_next = 1;
    while (m_routes.count(m_next) != 0) ++m_next;
    const HKEY h = m_next++;
    m_routes.emplace(h, std::move(route));
    return h;
  }
  bool find(HKEY key, Route* out) const {
    std::lock_guard lock(m_mutex);
    auto it = m_routes.find(key);
    if (it == m_routes.end()) return false;
    *out = it->second;
    return true;
  }
  bool take(HKEY key, Route* out) {
    std::lock_guard lock(m_mutex);
    auto it = m_routes.find(key);
    if (it == m_routes.end()) return false;
    *out = std::move(it->second);
    m_routes.erase(it);
    return true;
  }

 private:
  mutable std::mutex m_mutex;
  std::unordered_map<HKEY, Route> m_routes;
  HKEY m_next = 1;
};

KeyTable& keys() {
  static KeyTable table;
  return table;
}

bool isPredefined(HKEY key) { return (key & 0x80000000u) != 0; }

bool routeOf(HKEY key, Route* route) {
  if (isPredefined(key)) {
    route->part = detail::part(&Backend::local);
    route->inner = key;
    return true;
  }
  return keys().find(key, route);
}

constexpr LONG kInvalidHandle = static_cast<LONG>(ERROR_INVALID_HANDLE);

// Opens a key through `part` (`open` writes the part's handle) and keeps it
// under a handle of the program's.
template <class Open>
LONG adopt(const std::shared_ptr<RegistryPart>& part, HKEY* result, Open open) {
  HKEY inner = 0;
  const LONG status = open(&inner);
  if (status == 0 && result) *result = keys().add({part, inner});
  return status;
}

}  // namespace

LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                    HKEY* result, DWORD* disposition) {
  Route r;
  if (!routeOf(key, &r)) return kInvalidHandle;
  return adopt(r.part, result, [&](HKEY* inner) {
    return r.part->RegCreateKeyEx(r.inner, subkey, options, access, inner, disposition);
  });
}

LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                  HKEY* result) {
  Route r;
  if (!routeOf(key, &r)) return kInvalidHandle;
  return adopt(r.part, result, [&](HKEY* inner) {
    return r.part->RegOpenKeyEx(r.inner, subkey, options, access, inner);
  });
}

LONG RegCloseKey(HKEY key) {
  if (isPredefined(key)) return detail::part(&Backend::local)->RegCloseKey(key);
  Route r;
  if (!keys().take(key, &r)) return kInvalidHandle;
  return r.part->RegCloseKey(r.inner);
}

LONG RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) {
  std::shared_ptr<RegistryPart> part =
      machine.empty() ? std::shared_ptr<RegistryPart>(detail::part(&Backend::local))
                      : detail::part(&Backend::registry);
  return adopt(part, result,
               [&](HKEY* inner) { return part->RegConnectRegistry(machine, key, inner); });
}

LONG RegQueryValueEx(HKEY key, std::string_view name, DWORD* type, std::span<std::uint8_t> data,
                     DWORD* cbData) {
  Route r;
  if (!routeOf(key, &r)) return kInvalidHandle;
  return r.part->RegQueryValueEx(r.inner, name, type, data, cbData);
}

LONG RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                   std::span<const std::uint8_t> data) {
  Route r;
  if (!routeOf(key, &r)) return kInvalidHandle;
  return r.part->RegSetValueEx(r.inner, name, type, data);
}

LONG RegDeleteValue(HKEY key, std::string_view name) {
  Route r;
  if (!routeOf(key, &r)) return kInvalidHandle;
  return r.part->RegDeleteValue(r.inner, name);
}

LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity, DWORD* type,
                  std::span<std::uint8_t> data, DWORD* cbData) {
  Route r;
  if (!routeOf(key, &r)) return kInvalidHandle;
  return r.part->RegEnumValue(r.inner, index, name, nameCapacity, type, data, cbData);
}

std::vector<std::uint8_t> regSzBytes(std::string_view text) {
  std::vector<std::uint8_t> bytes(text.begin(), text.end());
  bytes.push_back(0);
  return bytes;
}

std::vector<std::uint8_t> regDwordBytes(DWORD value) {
  return {static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
          static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
}

}  // namespace platform
