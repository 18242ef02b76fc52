// The lab backend: one object per part, each over the same lab.

#include "platform/lab/lab_backend.h"


namespace lab {

using namespace platform;

void serveLabParts(Backend& backend, const std::shared_ptr<Lab>& lab) {
  if (!backend.local) {
    auto local = std::make_shared<LabLocalSystem>(lab);
    backend.local = local;
    if (!backend.registry) backend.registry = local;
  }
  if (!backend.registry) backend.registry = std::make_shared<LabLocalSystem>(lab);
  if (!backend.accounts) backend.accounts = std::make_shared<LabAccounts>(lab);
  if (!backend.servers) backend.servers = std::make_shared<LabServers>(lab);
  if (!backend.security) backend.security = std::make_shared<LabSecurity>(lab);
  if (!backend.network) backend.network = std::make_shared<LabNetwork>(lab);
  if (!backend.dialin) backend.dialin = std::make_shared<LabDialin>(lab);
  if (!backend.eventLog) backend.eventLog = std::make_shared<LabEventLog>(lab);
  if (!backend.changes) backend.changes = std::make_shared<LabChanges>(lab);
}

std::shared_ptr<Backend> makeLabBackend(std::shared_ptr<Lab> lab) {
  auto backend = std::make_shared<Backend>();
  serveLabParts(*backend, lab);
  return backend;
}

BackendFactory labBackendFactory() {
  return [](const BackendOptions& options, std::string* error) -> std::shared_ptr<Backend> {
    std::string path;
    if (auto it = options.find("file"); it != options.end()) path = it->second;
    if (path.empty()) {
      path = ensureDefaultLab(error);
      if (path.empty()) return nullptr;
    }
    std::shared_ptr<Lab> loaded = loadLabFile(path, error);
    if (!loaded) return nullptr;
    return makeLabBackend(std::move(loaded));
  };
}

}  // namespace lab
