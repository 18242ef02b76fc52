#include "dlgthreads/network_worker.h"

#include <cstdint>
#include <vector>

#include "dlgthreads/printf_text.h"
#include "dlgthreads/worker_frame.h"
#include "platform/status_text.h"

namespace dlgthreads {

using namespace platform;

namespace {

bool isContainer(const NETRESOURCE& r) { return (r.dwUsage & RESOURCEUSAGE_CONTAINER) != 0; }

// One container's level; the outermost level's FinishWork hands the block
// over. Once the lines are full nothing more can be shown, so the walk
// stops reading (and says so once, through the block).
bool isShare(const NETRESOURCE& r) {
  return r.dwType == RESOURCETYPE_DISK || r.dwType == RESOURCETYPE_PRINT;
}

void walkLevel(const std::shared_ptr<WorkerBlock>& block, const NETRESOURCE* container, int depth) {
  const bool performance = block->kind == WorkKind::Performance;
  auto& lines = performance ? block->performance : block->network;
  BeginWork(*block);
  HANDLE handle = 0;
  const DWORD opened = WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, &handle);
  if (opened != NERR_Success && !container) {
    // Nothing below the root: an empty tree must not pass for a network
    // without domains.
    const std::string reason = statusText(opened);
    showWorkerMessage(*block,
                      printfText("The network could not be browsed.\nError number : %i",
                                 static_cast<int>(opened)) +
                          (reason.empty() ? "" : ": " + reason),
                      {}, ui::Icon::Error);
  }
  if (opened == NERR_Success) {
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
        std::string line = networkLine(entry, depth);
        if (performance && isShare(entry)) {
          NETCONNECTINFOSTRUCT info;
          const DWORD st = MultinetGetConnectionPerformance(entry, &info);
          line += performanceSuffix(st, info);
        }
        if (!lines.append(std::move(line))) {
          block->networkLinesDropped = true;
          break;
        }
        if (!isContainer(entry)) continue;
        if (entry.dwDisplayType == RESOURCEDISPLAYTYPE_SERVER) {
          // A server's shares stand at the server's own depth.
          if (performance || block->sharesFlag) walkLevel(block, &entry, depth);
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

std::string performanceSuffix(DWORD status, const NETCONNECTINFOSTRUCT& info) {
  if (status != NERR_Success) return "\tError number " + std::to_string(status);
  const std::uint64_t bitsPerSecond = std::uint64_t{info.dwSpeed} * 100;
  std::string flags;
  flags += (info.dwFlags & WNCON_FORNETCARD) ? 'N' : '-';
  flags += (info.dwFlags & WNCON_NOTROUTED) ? '-' : 'R';
  flags += (info.dwFlags & WNCON_SLOWLINK) ? 'S' : '-';
  flags += (info.dwFlags & WNCON_DYNAMIC) ? 'D' : '-';
  return "  (Speed " + std::to_string(bitsPerSecond) + " bits/sec)  (" + flags + ")  (Delay " +
         std::to_string(info.dwDelay) + "ms)  (OptPacketsize " + std::to_string(info.dwOptDataSize) +
         ")";
}

void gatherNetwork(std::shared_ptr<WorkerBlock> block) { walkLevel(block, nullptr, 0); }
void gatherPerformance(std::shared_ptr<WorkerBlock> block) { walkLevel(block, nullptr, 0); }

}  // namespace dlgthreads
