// A server's administration against a Samba AD DC that holds many sessions
// and open files (bench/samba-server-bench opens them): what the server
// information dialog reads when it opens (the server, its sessions, its
// open files), and the Network display's walk of the test domain.
//
// Needs a running DC: VELTRANE_SAMBA_DC=PREFIX as samba-dc-start made it.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>
#include <string>

#include "dlgthreads/network_worker.h"
#include "dlgthreads/worker_frame.h"
#include "platform/backend.h"
#include "platform/netapi.h"
#include "platform/samba/samba_backend.h"
#include "quiet_host.h"

namespace {

using namespace dlgthreads;
using namespace platform;

using bench::QuietHost;

const std::string kServer = "\\\\127.0.0.2";

std::shared_ptr<Backend> dcBackend(benchmark::State& state) {
  const char* prefix = std::getenv("VELTRANE_SAMBA_DC");
  if (!prefix) {
    state.SkipWithError("VELTRANE_SAMBA_DC is not set");
    return nullptr;
  }
  std::string error;
  auto backend = samba::sambaBackendFactory()(
      {{"authentication-file", std::string(prefix) + "/admin.auth"}}, &error);
  if (!backend) state.SkipWithError(error.c_str());
  return backend;
}

void BM_ServerInformation(benchmark::State& state) {
  auto backend = dcBackend(state);
  if (!backend) return;
  ScopedBackend scope(backend);
  std::size_t sessions = 0, files = 0;
  for (auto _ : state) {
    NetBuffer info, s, f;
    DWORD read = 0, total = 0;
    if (NetServerGetInfo(kServer, 102, info) != NERR_Success ||
        NetSessionEnum(kServer, "", "", 2, s, MAX_PREFERRED_LENGTH, &read, &total, nullptr) !=
            NERR_Success ||
        NetFileEnum(kServer, "", "", 3, f, MAX_PREFERRED_LENGTH, &read, &total, nullptr) !=
            NERR_Success) {
      state.SkipWithError("a call failed");
      return;
    }
    sessions = s.get<SESSION_INFO_2>().size();
    files = f.get<FILE_INFO_3>().size();
  }
  state.counters["sessions"] = static_cast<double>(sessions);
  state.counters["files"] = static_cast<double>(files);
}

void BM_NetworkWalk(benchmark::State& state) {
  auto backend = dcBackend(state);
  if (!backend) return;
  ScopedBackend scope(backend);
  NetBuffer self;
  NetServerGetInfo(kServer, 101, self);  // the controller the program has browsed
  auto host = std::make_shared<QuietHost>();
  std::size_t lines = 0;
  for (auto _ : state) {
    auto block = std::make_shared<WorkerBlock>();
    block->kind = WorkKind::Network;
    block->host = host;
    block->state.selectedServer = kServer;
    ResetWork(WorkKind::Network);
    gatherNetwork(block);
    lines = block->network.used();
  }
  state.counters["lines"] = static_cast<double>(lines);
}

BENCHMARK(BM_ServerInformation)->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_NetworkWalk)->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
