#pragma once
// The local system of a program that administers real networks from Linux:
// the account and host name are the Linux ones, and the machine's registry,
// where the program keeps its settings, is a file of the user's
// ($XDG_CONFIG_HOME/veltrane/registry.json, else ~/.config/veltrane/...).
//
// The file is read once and written whole, atomically, after each change. A
// file that cannot be read is left as it is: every key then fails to open,
// so the program says it uses its defaults and loses nothing of the file.

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/parts/local_system_part.h"

namespace platform {

class ConfigFileLocalSystem : public LocalSystemPart {
 public:
  explicit ConfigFileLocalSystem(std::string path);

  // The file's path, and why it could not be read (empty when it could,
  // or when it does not exist yet).
  const std::string& path() const { return m_path; }
  std::string loadError();

  BOOL GetVersionEx(OSVERSIONINFOA* info) override;
  BOOL GetUserName(std::string* name) override;
  BOOL GetComputerName(std::string* name) override;

  LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                      HKEY* result, DWORD* disposition) override;
  LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
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

 private:
  struct Value {
    std::string name;
    DWORD type = 0;
    std::vector<std::uint8_t> data;
  };
  struct Key {
    std::string path;  // as first created, root included
    std::vector<Value> values;  // stored order
  };
  struct OpenKey {
    std::string id;  // upper-case full path
    REGSAM access = 0;
  };

  // The key a handle or predefined root names; false for an unknown handle.
  bool openKeyOf(HKEY key, OpenKey* out, std::string* display) const;
  HKEY addHandle(OpenKey key);
  // Writes the keys to the file; on failure the keys go back to `before`.
  LONG saveOrRevert(std::map<std::string, Key> before);
  void loadLocked();

  mutable std::mutex m_mutex;
  std::string m_path;
  bool m_loaded = false;
  std::string m_loadError;
  std::map<std::string, Key> m_keys;  // by upper-case full path
  std::unordered_map<HKEY, OpenKey> m_handles;
  HKEY m_nextHandle = 0x1000;
};

// This user's settings file: $XDG_CONFIG_HOME/veltrane/registry.json, else
// ~/.config/veltrane/registry.json; empty when neither is set.
std::string defaultLocalRegistryPath();

}  // namespace platform
