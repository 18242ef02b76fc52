#include "dlgthreads/network_worker.h"

#include <vector>

#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

using namespace platform;

namespace {

bool isContainer(const NETRESOURCE& r) { return (r.dwUsage & RESOURCEUSAGE_CONTAINER) != 0; }

// One container's level; the outermost level's FinishWork hands the block
// over. Once the lines are full nothing more can be shown, so the walk
// stops reading (and says so once, through the block).
void walkLevel(const std::shared_ptr<WorkerBlock>& block, const NETRESOURCE* container, int depth) {
  BeginWork(*block);
  HANDLE handle = 0;
  if (WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, &handle) == NERR_Success) {
    std::vector<NETRESOURCE> batch;
    for (;;) {
      if (block->cancelled() || block->networkLinesDropped) break;
      DWORD count = WNET_ALL_ENTRIES;
      DWORD size = kNetworkBatchBytes;
      batch.clear();
      if (WNetEnumResource(handle, &count, batch, &size) != NERR_Success) break;
      for (const NETRESOURCE& entry : batch) {
        if (block->cancelled() || block->networkLinesDropped) break;
        if (entry.lpRemoteName.empty()) continue;
        if (!block->network.append(networkLine(entry, depth))) {
          block->networkLinesDropped = true;
          break;
        }
        if (!isContainer(entry)) continue;
        if (entry.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER) {
          // A server's shares stand at the server's own depth.
          if (block->sharesFlag) walkLevel(block, &entry, depth);
        } else if (entry.lpProvider == kWindowsNetworkProvider) {
          walkLevel(block, &entry, depth + 1);
        }
      }
    }
    WNetCloseEnum(handle);
  }
  FinishWork(block);
}

}  // namespace

std::string networkLine(const NETRESOURCE& r, int depth) {
  char letter = 'u';
  if (r.dwType == RESOURCETYPE_DISK) letter = 'd';
  else if (r.dwType == RESOURCETYPE_PRINT) letter = 'p';
  else if (r.dwDisplayType == RESOURCEDISPLAYTYPE_DOMAIN) letter = 'D';
  else if (r.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER) letter = 'S';
  std::string line(1, letter);
  line.append(static_cast<std::size_t>(depth), '\t');
  line += r.lpRemoteName;
  return line;
}

void gatherNetwork(std::shared_ptr<WorkerBlock> block) { walkLevel(block, nullptr, 0); }

}  // namespace dlgthreads
