#include "platform/lab/model.h"

namespace lab {

bool isHiddenShare(std::string_view name) { return !name.empty() && name.back() == '$'; }

bool isAdministrativeShare(std::string_view name) {
  const std::string n = upper(name);
  if (n == "IPC$" || n == "ADMIN$") return true;
  return n.size() == 2 && n[1] == '$' && n[0] >= 'A' && n[0] <= 'Z';
}

std::vector<Share> standardShares() {
  return {
      Share{"IPC$", ShareType::Ipc, "", "Remote IPC"},
      Share{"ADMIN$", ShareType::Disk, "C:\\WINNT", "Remote Admin"},
      Share{"C$", ShareType::Disk, "C:\\", "Default share"},
  };
}

Share* Machine::findShare(std::string_view name) {
  const std::string key = upper(name);
  for (auto& s : shares) if (upper(s.name) == key) return &s;
  return nullptr;
}

const Share* Machine::findShare(std::string_view name) const {
  return const_cast<Machine*>(this)->findShare(name);
}

}  // namespace lab
