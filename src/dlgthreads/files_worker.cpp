#include "dlgthreads/files_worker.h"

#include "platform/netapi.h"

namespace dlgthreads {

bool accessRightsNameKnown(std::string_view server, std::string_view name) {
  platform::NetBuffer buffer;
  if (platform::NetUserGetInfo(server, name, 0, buffer) == platform::NERR_Success) return true;
  return platform::NetLocalGroupGetInfo(server, name, 0, buffer) == platform::NERR_Success;
}

void gatherFiles(std::shared_ptr<WorkerBlock> block) {
  BeginWork(*block);
  block->userNameKnown = accessRightsNameKnown(block->state.selectedServer, block->userName);
  FinishWork(block);
}

}  // namespace dlgthreads
