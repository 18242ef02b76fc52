#pragma once
// The Users display's worker (work kind 3): counts the accounts, then reads
// them quickly (display information) or fully (every domain controller when
// `traverse_search` is on), into block.users.
//
// Choices worth knowing when reading the records:
// - Logon figures of several controllers are merged per account name, not
//   per position in each answer: controllers list accounts in their own
//   order and need not all know every account. The records are made from
//   the first server that answers; accounts only a later server knows add
//   nothing.
// - The count (block.users.count() and block.state.recordCount) is the
//   number of accounts actually read, at most the counted number + 10. The
//   counted number only sizes the array; after a refused count it is the
//   100,000 estimate, which must not turn into rows of empty records.
// - When the count query fails with anything but access denied, no array
//   can be sized: the worker says so ("Error number : %i", caption
//   "Fatal Error") and ends with no array, like a failed allocation.

#include <memory>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

// Thread procedure; runs BeginWork … FinishWork on `block`.
void gatherUsers(std::shared_ptr<WorkerBlock> block);

}  // namespace dlgthreads
