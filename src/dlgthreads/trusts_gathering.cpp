#include "dlgthreads/trusts_gathering.h"

#include "dlgthreads/printf_text.h"
#include "platform/dsgetdc.h"
#include "platform/status_text.h"

namespace dlgthreads {

void gatherTrusts(std::shared_ptr<WorkerBlock> block) {
  BeginWork(*block);
  const platform::DWORD status = platform::DsEnumerateDomainTrusts(
      block->state.selectedServer,
      platform::DS_DOMAIN_DIRECT_OUTBOUND | platform::DS_DOMAIN_DIRECT_INBOUND, &block->trusts);
  if (status != platform::ERROR_SUCCESS) {
    // An empty list must not pass for a domain without trusts.
    block->trusts.clear();
    const std::string reason = platform::statusText(status);
    showRefusal(*block,
                printfText("The trust relationships of the domain could not be read.\n"
                           "Error number : %i",
                           static_cast<int>(status)) +
                    (reason.empty() ? "" : ": " + reason),
                {}, ui::Icon::Error);
  }
  block->state.recordCount = static_cast<int>(block->trusts.size());
  FinishWork(block);
}

}  // namespace dlgthreads
