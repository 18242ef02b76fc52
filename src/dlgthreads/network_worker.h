#pragma once
// The Network walk: the network's providers, domains, servers and (when the
// shares flag is set) shares as indented lines, one resource level per
// BeginWork/FinishWork, into block.network.

#include <memory>
#include <string>

#include "platform/wnet.h"

namespace dlgthreads {

struct WorkerBlock;

// What a batch of WNetEnumResource may hold.
inline constexpr platform::DWORD kNetworkBatchBytes = 163840;

// The line of one resource: its letter (d disk share, p print share,
// D domain, S server, u anything else), a tab per depth, its remote name.
std::string networkLine(const platform::NETRESOURCE& resource, int depth);

void gatherNetwork(std::shared_ptr<WorkerBlock> block);

}  // namespace dlgthreads
