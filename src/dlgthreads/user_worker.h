#pragma once
// The Users display's worker (work kind 3): counts the accounts, then reads
// them quickly (display information) or fully (every domain controller when
// `traverse_search` is on, merged per account name), into block.users.
// block.state.recordCount is set to the number of records written.

#include <memory>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// Thread procedure; runs BeginWork … FinishWork on `block`.
void gatherUsers(std::shared_ptr<WorkerBlock> block);

}  // namespace dlgthreads
