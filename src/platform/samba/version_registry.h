#pragma once
// Other machines' registries under the samba backend, as far as the
// domain's directory knows them: the version key of a domain computer
// (HKLM\SOFTWARE\Microsoft\Windows NT\CurrentVersion), made from its
// computer object's operatingSystem, operatingSystemVersion ("10.0
// (17763)") and operatingSystemServicePack. Samba serves no remote registry
// the client library can reach; the Servers browse reads its Build and
// Service Pack columns from this key. Read only.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

#include "platform/parts/registry_part.h"

namespace platform::samba {

// What a computer object says of the system on the machine.
struct ComputerSystem {
  std::string system;       // operatingSystem: "Windows Server 2019 Datacenter"
  std::string version;      // operatingSystemVersion: "10.0 (17763)"
  std::string servicePack;  // operatingSystemServicePack: "Service Pack 1"
};

// The build number of an operatingSystemVersion: the number in
// parentheses ("10.0 (17763)": "17763"); empty when there is none.
std::string buildOf(std::string_view version);

// The computers the backend has read, by NetBIOS name (any case); filled by
// the browse list, read by the registry. Safe for concurrent callers.
class ComputerSystems {
 public:
  void remember(std::string_view name, ComputerSystem system);
  std::optional<ComputerSystem> find(std::string_view name) const;

 private:
  mutable std::mutex m_mutex;
  std::map<std::string, ComputerSystem> m_byName;  // upper-case name
};

class VersionRegistry final : public RegistryPart {
 public:
  explicit VersionRegistry(std::shared_ptr<const ComputerSystems> computers);

  // A machine whose computer object names a build connects (HKEY_LOCAL_MACHINE
  // only); any other answers 50, as a machine without a remote registry.
  LONG RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) override;
  // The version key and the keys on its way; others 2.
  LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                    HKEY* result) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegQueryValueEx(HKEY key, std::string_view name, DWORD* type,
                       std::span<std::uint8_t> data, DWORD* cbData) override;
  LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity, DWORD* type,
                    std::span<std::uint8_t> data, DWORD* cbData) override;
  LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                      HKEY* result, DWORD* disposition) override;
  LONG RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                     std::span<const std::uint8_t> data) override;
  LONG RegDeleteValue(HKEY key, std::string_view name) override;

 private:
  struct OpenKey {
    std::string machine;  // upper-case NetBIOS name
    std::string path;     // upper-case, below HKEY_LOCAL_MACHINE
  };
  struct Value {
    std::string name;
    std::string text;  // REG_SZ
  };
  // The values of `key`'s path on its machine (none but the version key's).
  std::vector<Value> valuesOf(const OpenKey& key) const;
  std::optional<OpenKey> keyOf(HKEY key) const;

  std::shared_ptr<const ComputerSystems> m_computers;
  mutable std::mutex m_mutex;
  std::map<HKEY, OpenKey> m_keys;
  HKEY m_next = 1;
};

}  // namespace platform::samba
