#pragma once
// The Files display's worker (work kind 0): runs the walk of the form the
// settings choose (f_display_type 0 storage per owner, 1 access tree, 2
// rights dump).

#include <memory>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// Thread procedure.
void gatherFiles(std::shared_ptr<WorkerBlock> block);

// Where the access tree finds the account it is for.
struct AccessAccount {
  bool known = false;
  bool localGroup = false;   // a local group of the server
  std::string userServer;    // a user: the server that keeps its account
};

// A user or local group of `server`, or else a user of the domain the
// server belongs to (kept by the domain's controller, as a member server's
// users are).
AccessAccount findAccessAccount(const std::string& server, std::string_view name);
// True when findAccessAccount knows `name`.
bool accessRightsNameKnown(std::string_view server, std::string_view name);

}  // namespace dlgthreads
