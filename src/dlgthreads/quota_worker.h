#pragma once
// The Quotas display's worker: reads the quota entries of the browse server's
// registry. A remote registry may be slow to answer, so this runs on a
// worker like every other browse rather than on the window's thread.

#include <memory>
#include <string_view>
#include <vector>

#include "dlgthreads/quota_data.h"
#include "dlgthreads/worker_frame.h"

namespace dlgthreads {

enum class QuotaReadResult { Read, NoConnection, NoDirectoriesKey };

// Every entry of the server's Directories key, in stored order. An entry
// too large for the read buffers is skipped; only the end of the values
// (or a failure other than "more data") ends the list. `cancelled` is asked
// between entries.
QuotaReadResult readQuotaEntries(std::string_view server, std::vector<QuotaRecord>& out,
                                 const std::atomic<bool>* cancelled = nullptr);

// The connection failure message for `server`.
std::string quotaConnectionMessage(std::string_view server);

// Thread procedure: fills block.quotas.
void gatherQuotas(std::shared_ptr<WorkerBlock> block);

}  // namespace dlgthreads
