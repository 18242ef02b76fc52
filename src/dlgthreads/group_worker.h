#pragma once
// The Groups display's worker (work kind 2): local groups, then global
// groups, with their members when `g_show_members` is on, into block.groups.

#include <memory>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// Thread procedure; runs BeginWork … FinishWork on `block`.
void gatherGroups(std::shared_ptr<WorkerBlock> block);

}  // namespace dlgthreads
