#include "dlgthreads/worker_frame.h"

#include <utility>

#include "platform/netapi.h"

namespace dlgthreads {

BusyCounters& busyCounters() {
  static BusyCounters counters;
  return counters;
}

void readFillFacts(WorkerBlock& block) {
  platform::NetBuffer buffer;
  if (platform::NetUserModalsGet(block.state.selectedServer, 2, buffer) != platform::NERR_Success)
    return;
  if (const auto modals = buffer.get<platform::USER_MODALS_INFO_2>(); !modals.empty())
    block.domainName = modals.front().usrmod2_domain_name;
}

void ResetWork(WorkKind kind) { busyCounters().reset(kind); }

void BeginWork(WorkerBlock& block) {
  block.depth.fetch_add(1, std::memory_order_acq_rel);
  // A stopped worker that is still unwinding must not count against the
  // browse that replaced it (which reset the counter when it started).
  if (!block.cancelled()) busyCounters().add(block.kind, 1);
}

bool FinishWork(const std::shared_ptr<WorkerBlock>& block) {
  const int left = block->depth.fetch_sub(1, std::memory_order_acq_rel) - 1;
  if (block->cancelled()) return left <= 0;
  busyCounters().add(block->kind, -1);
  if (left > 0) return false;
  if (block->host) {
    readFillFacts(*block);
    block->host->workFinished(block);
  }
  return true;
}

void SetStatusText(const WorkerBlock& block, std::string text) {
  if (block.host) block.host->setStatusText(std::move(text));
}

void showWorkerMessage(const WorkerBlock& block, std::string text, std::string caption,
                       ui::Icon icon) {
  if (block.host) block.host->messages().ok(std::move(text), std::move(caption), icon);
}

void showRefusal(WorkerBlock& block, std::string text, std::string caption, ui::Icon icon) {
  block.refusal = text;
  showWorkerMessage(block, std::move(text), std::move(caption), icon);
}

}  // namespace dlgthreads
