#pragma once
// The Network walk: the network's providers, domains, servers and (when the
// shares flag is set) shares as indented lines, one resource level per
// BeginWork/FinishWork, into block.network. The Performance walk: the same
// tree, every server entered, each disk and print share's line followed by
// its connection performance, into block.performance.

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

// The performance suffix of a share's line: its speed in bits per second
// (the figure is in units of 100; 64 bits, so fast links do not wrap), the
// flags (N network card, R routed, S slow link, D dynamic), the delay and
// the optimal packet size; or the query's status.
std::string performanceSuffix(platform::DWORD status, const platform::NETCONNECTINFOSTRUCT& info);

void gatherNetwork(std::shared_ptr<WorkerBlock> block);
void gatherPerformance(std::shared_ptr<WorkerBlock> block);

}  // namespace dlgthreads
