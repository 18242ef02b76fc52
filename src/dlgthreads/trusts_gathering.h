#pragma once
// The Trusts display's gathering: the direct trust relationships of the
// browse server's domain, in one call. It runs on the thread that browses
// (the window's own: there is no worker for one call), in the frame every
// worker runs in, so the fill takes its block like any other.

#include <memory>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// The domains the browse server's domain trusts and those that trust it,
// each once, into block.trusts; a server that cannot tell says why in a
// refusal.
void gatherTrusts(std::shared_ptr<WorkerBlock> block);

}  // namespace dlgthreads
