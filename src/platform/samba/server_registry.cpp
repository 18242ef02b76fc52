#include "platform/samba/server_registry.h"

#include "platform/samba/samba_backend.h"

namespace platform::samba {
namespace {

constexpr REGSAM kMaximumAllowed = 0x02000000;

LONG asLong(DWORD status) { return static_cast<LONG>(status); }

}  // namespace

ServerRegistry::ServerRegistry(std::shared_ptr<SambaBackend> backend,
                               std::shared_ptr<VersionRegistry> standIn)
    : m_backend(std::move(backend)), m_standIn(std::move(standIn)) {}

bool ServerRegistry::find(HKEY key, OpenKey* out) const {
  std::lock_guard lock(m_mutex);
  const auto it = m_keys.find(key);
  if (it == m_keys.end()) return false;
  *out = it->second;
  return true;
}

HKEY ServerRegistry::remember(OpenKey key) {
  std::lock_guard lock(m_mutex);
  const HKEY handle = m_next++;
  m_keys.emplace(handle, std::move(key));
  return handle;
}

LONG ServerRegistry::RegConnectRegistry(std::string_view machine, HKEY key, HKEY* result) {
  *result = 0;
  if (key != HKEY_LOCAL_MACHINE && key != HKEY_USERS && key != HKEY_CLASSES_ROOT)
    return asLong(ERROR_INVALID_HANDLE);
  RpcKey root;
  const DWORD status = m_backend->onPipe(machine, RpcInterface::Registry, [&](RpcPipe& pipe) {
    return pipe.openRoot(static_cast<std::uint32_t>(key), kMaximumAllowed, &root);
  });
  if (status == NERR_Success) {
    *result = remember({std::string(machine), root, 0});
    return 0;
  }
  // Refused credentials or rights are the answer; a machine that serves no
  // registry may still be described by its computer object.
  if (status == ERROR_ACCESS_DENIED || status == 1326) return asLong(status);
  HKEY standIn = 0;
  if (m_standIn->RegConnectRegistry(machine, key, &standIn) == 0) {
    *result = remember({std::string(machine), {}, standIn});
    return 0;
  }
  return asLong(status);
}

LONG ServerRegistry::openBelow(HKEY key, std::string_view subkey, REGSAM access, bool create,
                               HKEY* result, DWORD* disposition) {
  *result = 0;
  OpenKey parent;
  if (!find(key, &parent)) return asLong(ERROR_INVALID_HANDLE);
  if (parent.standIn) {
    HKEY opened = 0;
    const LONG status =
        create ? m_standIn->RegCreateKeyEx(parent.standIn, subkey, 0, access, &opened, disposition)
               : m_standIn->RegOpenKeyEx(parent.standIn, subkey, 0, access, &opened);
    if (status == 0) *result = remember({parent.machine, {}, opened});
    return status;
  }
  RpcKey opened;
  const DWORD status =
      m_backend->onPipe(parent.machine, RpcInterface::Registry, [&](RpcPipe& pipe) {
        return create ? pipe.createKey(parent.key, subkey, REG_OPTION_NON_VOLATILE, access, &opened,
                                       disposition)
                      : pipe.openKey(parent.key, subkey, access, &opened);
      });
  if (status == NERR_Success) *result = remember({parent.machine, opened, 0});
  return asLong(status);
}

LONG ServerRegistry::RegOpenKeyEx(HKEY key, std::string_view subkey, DWORD, REGSAM access,
                                  HKEY* result) {
  return openBelow(key, subkey, access, false, result, nullptr);
}

LONG ServerRegistry::RegCreateKeyEx(HKEY key, std::string_view subkey, DWORD, REGSAM access,
                                    HKEY* result, DWORD* disposition) {
  return openBelow(key, subkey, access, true, result, disposition);
}

LONG ServerRegistry::RegCloseKey(HKEY key) {
  OpenKey open;
  {
    std::lock_guard lock(m_mutex);
    const auto it = m_keys.find(key);
    if (it == m_keys.end()) return asLong(ERROR_INVALID_HANDLE);
    open = it->second;
    m_keys.erase(it);
  }
  if (open.standIn) return m_standIn->RegCloseKey(open.standIn);
  // A server that went away has dropped the handle with the connection.
  m_backend->onPipe(open.machine, RpcInterface::Registry,
                    [&](RpcPipe& pipe) { return pipe.closeKey(open.key); });
  return 0;
}

LONG ServerRegistry::RegQueryValueEx(HKEY key, std::string_view name, DWORD* type,
                                     std::span<std::uint8_t> data, DWORD* cbData) {
  OpenKey open;
  if (!find(key, &open)) return asLong(ERROR_INVALID_HANDLE);
  if (open.standIn) return m_standIn->RegQueryValueEx(open.standIn, name, type, data, cbData);
  return asLong(m_backend->onPipe(open.machine, RpcInterface::Registry, [&](RpcPipe& pipe) {
    return pipe.queryValue(open.key, name, type, data, cbData);
  }));
}

LONG ServerRegistry::RegSetValueEx(HKEY key, std::string_view name, DWORD type,
                                   std::span<const std::uint8_t> data) {
  OpenKey open;
  if (!find(key, &open)) return asLong(ERROR_INVALID_HANDLE);
  if (open.standIn) return m_standIn->RegSetValueEx(open.standIn, name, type, data);
  return asLong(m_backend->onPipe(open.machine, RpcInterface::Registry, [&](RpcPipe& pipe) {
    return pipe.setValue(open.key, name, type, data);
  }));
}

LONG ServerRegistry::RegDeleteValue(HKEY key, std::string_view name) {
  OpenKey open;
  if (!find(key, &open)) return asLong(ERROR_INVALID_HANDLE);
  if (open.standIn) return m_standIn->RegDeleteValue(open.standIn, name);
  return asLong(m_backend->onPipe(open.machine, RpcInterface::Registry,
                                  [&](RpcPipe& pipe) { return pipe.deleteValue(open.key, name); }));
}

LONG ServerRegistry::RegEnumValue(HKEY key, DWORD index, std::string* name, DWORD nameCapacity,
                                  DWORD* type, std::span<std::uint8_t> data, DWORD* cbData) {
  OpenKey open;
  if (!find(key, &open)) return asLong(ERROR_INVALID_HANDLE);
  if (open.standIn)
    return m_standIn->RegEnumValue(open.standIn, index, name, nameCapacity, type, data, cbData);
  std::string found;
  const DWORD status = m_backend->onPipe(open.machine, RpcInterface::Registry, [&](RpcPipe& pipe) {
    return pipe.enumValue(open.key, index, &found, type, data, cbData);
  });
  if (status != NERR_Success && status != ERROR_MORE_DATA) return asLong(status);
  if (found.size() + 1 > nameCapacity) return asLong(ERROR_MORE_DATA);
  *name = std::move(found);
  return asLong(status);
}

}  // namespace platform::samba
