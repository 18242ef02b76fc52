#pragma once
// The lab's local system: the lab's local machine and logged-on account
// (backend_system.cpp), and the registries of the lab's machines
// (backend_registry.cpp). It serves the backend's registry part too.

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>

#include "platform/lab/lab_part.h"

namespace lab {

class LabLocalSystem : public platform::LocalSystemPart, protected LabPart {
 public:
  using LabPart::LabPart;

  // registry
  LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, platform::REGSAM access,
                      HKEY* result, DWORD* disposition) override;
  LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, platform::REGSAM access,
                    HKEY* result) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) override;
  LONG RegQueryValueEx(HKEY key, std::string_view name, DWORD* type,
                       std::span<std::uint8_t> data, DWORD* cbData) override;
  LONG RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                     std::span<const std::uint8_t> data) override;
  LONG RegDeleteValue(HKEY key, std::string_view name) override;
  LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity, DWORD* type,
                    std::span<std::uint8_t> data, DWORD* cbData) override;

  // system
  platform::BOOL GetVersionEx(platform::OSVERSIONINFOA* info) override;
  platform::BOOL GetUserName(std::string* name) override;
  platform::BOOL GetComputerName(std::string* name) override;

 private:
  // An open registry key: which hive of whose registry, and where in it.
  struct OpenKey {
    std::string machine;  // empty: the logged-on user's own hive
    std::string hive;
    std::string path;     // as given, without leading or trailing backslashes
    platform::REGSAM access = 0;
  };
  bool openKeyOf(HKEY key, OpenKey* out) const;
  HKEY addHandle(OpenKey key);

  mutable std::mutex m_mutex;
  std::unordered_map<HKEY, OpenKey> m_keys;
  HKEY m_nextHandle = 0x1000;
};

}  // namespace lab
