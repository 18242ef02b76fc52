#pragma once
// Other machines' registries under the samba backend: the server's own
// registry through its winreg pipe (a Samba server keeps one, and serves
// it to administrators), read and written. A machine whose registry cannot
// be reached (no pipe, or not reachable at all) falls back to the version
// key its computer object describes (VersionRegistry), so the Servers
// browse still shows what the directory knows of it.

#include <map>
#include <memory>
#include <mutex>
#include <string>

#include "platform/parts/registry_part.h"
#include "platform/samba/rpc_pipe.h"
#include "platform/samba/version_registry.h"

namespace platform::samba {

class SambaBackend;

class ServerRegistry final : public RegistryPart {
 public:
  ServerRegistry(std::shared_ptr<SambaBackend> backend, std::shared_ptr<VersionRegistry> standIn);

  LONG RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) override;
  LONG RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access,
                    HKEY* result) override;
  LONG RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD options, REGSAM access, HKEY* result,
                      DWORD* disposition) override;
  LONG RegCloseKey(HKEY key) override;
  LONG RegQueryValueEx(HKEY key, std::string_view name, DWORD* type, std::span<std::uint8_t> data,
                       DWORD* cbData) override;
  LONG RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                     std::span<const std::uint8_t> data) override;
  LONG RegDeleteValue(HKEY key, std::string_view name) override;
  LONG RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity, DWORD* type,
                    std::span<std::uint8_t> data, DWORD* cbData) override;

 private:
  struct OpenKey {
    std::string machine;  // as the caller named it
    RpcKey key;           // the server's handle
    HKEY standIn = 0;     // or the stand-in's key
  };
  // The key behind a handle of ours, or false.
  bool find(HKEY key, OpenKey* out) const;
  HKEY remember(OpenKey key);
  // Opens or makes `subkey` below `key` on its machine.
  LONG openBelow(HKEY key, std::string_view subkey, REGSAM access, bool create, HKEY* result,
                 DWORD* disposition);

  std::shared_ptr<SambaBackend> m_backend;
  std::shared_ptr<VersionRegistry> m_standIn;
  mutable std::mutex m_mutex;
  std::map<HKEY, OpenKey> m_keys;
  HKEY m_next = 0x10000;
};

}  // namespace platform::samba
