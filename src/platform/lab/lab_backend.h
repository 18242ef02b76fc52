#pragma once
// The platform backend over a Lab: one object per part, each over the same
// lab (lab_accounts.h, lab_servers.h, ...). The local system is the lab's
// local machine and also serves the registry part, which reaches the lab's
// machines.

#include <memory>

#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "platform/lab/lab_accounts.h"
#include "platform/lab/lab_changes.h"
#include "platform/lab/lab_dialin.h"
#include "platform/lab/lab_event_log.h"
#include "platform/lab/lab_local_system.h"
#include "platform/lab/lab_network.h"
#include "platform/lab/lab_security.h"
#include "platform/lab/lab_servers.h"

namespace lab {

// Fills every part `backend` leaves empty with the lab's own.
void serveLabParts(platform::Backend& backend, const std::shared_ptr<Lab>& lab);

// The lab backend with the parts `bent` implements served by it, the rest
// by the lab's own. Tests derive from a part's class (LabAccounts, ...) to
// bend single calls and call the base for everything else.
template <class Bent>
std::shared_ptr<platform::Backend> makeLabBackend(const std::shared_ptr<Lab>& lab,
                                                  const std::shared_ptr<Bent>& bent) {
  auto backend = platform::Backend::servedBy(bent);
  serveLabParts(*backend, lab);
  return backend;
}

}  // namespace lab
