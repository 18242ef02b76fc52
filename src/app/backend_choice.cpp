#include "app/backend_choice.h"

#include <algorithm>
#include <array>
#include <cstring>

#include "platform/registry.h"
#include "settings/settings_store.h"

namespace app {
namespace {

using namespace platform;

constexpr std::string_view kValueName = "backend";

std::optional<std::string> storedName(LocalSystemPart& machine) {
  HKEY key = 0;
  if (machine.RegOpenKeyEx(HKEY_CURRENT_USER, settings::kProgramKey, 0, KEY_READ, &key) !=
      ERROR_SUCCESS)
    return std::nullopt;
  std::array<std::uint8_t, 256> area{};
  DWORD type = REG_NONE;
  DWORD size = static_cast<DWORD>(area.size());
  const LONG status = machine.RegQueryValueEx(key, kValueName, &type, area, &size);
  machine.RegCloseKey(key);
  if (status != ERROR_SUCCESS || type != REG_SZ || size > area.size()) return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(area.data());
  return std::string(text, strnlen(text, size));
}

}  // namespace

BackendChoice chooseBackend(const std::optional<std::string>& given,
                            const std::vector<std::string>& known, LocalSystemPart& machine) {
  if (given) return {*given, {}};
  const std::optional<std::string> stored = storedName(machine);
  if (!stored || stored->empty()) return {"lab", {}};
  if (std::find(known.begin(), known.end(), *stored) != known.end()) return {*stored, {}};
  return {"lab", "the remembered backend \"" + *stored +
                     "\" is unknown to this version; using the lab (--backend NAME picks "
                     "another)"};
}

void rememberBackend(LocalSystemPart& machine, const std::string& name) {
  if (storedName(machine) == name) return;  // a start leaves the file as it was
  HKEY key = 0;
  DWORD disposition = 0;
  if (machine.RegCreateKeyEx(HKEY_CURRENT_USER, settings::kProgramKey, REG_OPTION_NON_VOLATILE,
                             KEY_ALL_ACCESS, &key, &disposition) != ERROR_SUCCESS)
    return;
  const auto bytes = regSzBytes(name);
  machine.RegSetValueEx(key, kValueName, REG_SZ, bytes);
  machine.RegCloseKey(key);
}

}  // namespace app
