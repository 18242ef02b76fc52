// The access tree: the selected server's disk shares and every directory
// below them, each marked with what one user may do there.

#include "dlgthreads/files_walks.h"
#include "dlgthreads/files_worker.h"

namespace dlgthreads {

void accessTree(const std::shared_ptr<WorkerBlock>& block) {
  BeginWork(*block);
  block->userNameKnown = accessRightsNameKnown(block->state.selectedServer, block->userName);
  FinishWork(block);
}

}  // namespace dlgthreads
