#pragma once
// The Files display's worker (work kind 0): runs the walk of the form the
// settings choose (f_display_type 0 storage per owner, 1 access tree, 2
// rights dump).

#include <memory>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// Thread procedure.
void gatherFiles(std::shared_ptr<WorkerBlock> block);

// True when `name` is a user or a local group of `server`.
bool accessRightsNameKnown(std::string_view server, std::string_view name);

}  // namespace dlgthreads
