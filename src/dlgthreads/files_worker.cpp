#include "dlgthreads/files_worker.h"

#include "dlgthreads/files_walks.h"
#include "platform/netapi.h"

namespace dlgthreads {

AccessAccount findAccessAccount(const std::string& server, std::string_view name) {
  using namespace platform;
  NetBuffer buffer;
  if (NetUserGetInfo(server, name, 0, buffer) == NERR_Success) return {true, false, server};
  if (NetLocalGroupGetInfo(server, name, 0, buffer) == NERR_Success) return {true, true, {}};
  if (NetWkstaGetInfo(server, 100, buffer) != NERR_Success) return {};
  const auto info = buffer.get<WKSTA_INFO_100>();
  std::string controller;
  if (info.empty() || NetGetDCName(server, info.front().wki100_langroup, &controller) != NERR_Success)
    return {};
  if (NetUserGetInfo(controller, name, 0, buffer) == NERR_Success) return {true, false, controller};
  return {};
}

bool accessRightsNameKnown(std::string_view server, std::string_view name) {
  return findAccessAccount(std::string(server), name).known;
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
