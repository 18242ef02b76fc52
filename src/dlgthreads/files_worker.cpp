#include "dlgthreads/files_worker.h"

#include "dlgthreads/files_walks.h"
#include "platform/netapi.h"

namespace dlgthreads {

bool accessRightsNameKnown(std::string_view server, std::string_view name) {
  platform::NetBuffer buffer;
  if (platform::NetUserGetInfo(server, name, 0, buffer) == platform::NERR_Success) return true;
  return platform::NetLocalGroupGetInfo(server, name, 0, buffer) == platform::NERR_Success;
}

void gatherFiles(std::shared_ptr<WorkerBlock> block) {
  switch (block->state.settings.f_display_type) {
    case 1:
      accessTree(block);
      return;
    case 2:
      rightsDump(block);
      return;
    default:
      ownerWalk(block);
      return;
  }
}

}  // namespace dlgthreads
