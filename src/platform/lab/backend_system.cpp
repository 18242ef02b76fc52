// The lab's local system: its version, logged-on account and local machine.

#include "platform/lab/lab_local_system.h"

namespace lab {

using namespace platform;

// ---- system ----

BOOL LabLocalSystem::GetVersionEx(OSVERSIONINFOA* info) {
  if (!info) return 0;
  query([&](const Network& net) -> DWORD {
    *info = net.system.version;
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return 0;
  });
  return 1;
}

BOOL LabLocalSystem::GetUserName(std::string* name) {
  if (!name) return 0;
  const auto account = m_lab->loggedOn();
  const auto slash = account.find('\\');
  *name = slash == std::string::npos ? account : account.substr(slash + 1);
  return 1;
}

BOOL LabLocalSystem::GetComputerName(std::string* name) {
  if (!name) return 0;
  *name = m_lab->localMachine();
  return 1;
}

}  // namespace lab
