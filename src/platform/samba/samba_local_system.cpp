#include "platform/samba/samba_local_system.h"

#include "platform/samba/machine_identity.h"
#include "platform/samba/samba_backend.h"

namespace platform::samba {

SambaLocalSystem::SambaLocalSystem(std::string settingsPath, std::weak_ptr<SambaBackend> backend)
    : ConfigFileLocalSystem(std::move(settingsPath)), m_backend(std::move(backend)) {}

BOOL SambaLocalSystem::GetUserName(std::string* name) {
  if (!name) return 0;
  if (auto backend = m_backend.lock()) {
    const Credentials account = backend->account();
    if (account.haveAccount()) {
      *name = account.user;
      return 1;
    }
  }
  return ConfigFileLocalSystem::GetUserName(name);
}

BOOL SambaLocalSystem::GetComputerName(std::string* name) {
  if (!name) return 0;
  *name = machineIdentity().netbiosName;
  return 1;
}

}  // namespace platform::samba
