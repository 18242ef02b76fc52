// The Users browse in full mode against a Samba AD DC holding about 2,000
// accounts, beside Samba's own tools listing the same accounts: the
// backend's directory path (one LDAP search), its libnetapi path (level 3,
// a call per account, as against an NT4-style controller), `samba-tool
// user list` (names only, over LDAP) and `net rpc user` (names, over SAMR).
//
// Needs a running DC: VELTRANE_SAMBA_DC=PREFIX as samba-dc-start made it.
// bench/samba-users-bench starts one, fills it and runs this.

#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "dlgthreads/user_worker.h"
#include "dlgthreads/worker_frame.h"
#include "platform/backend.h"
#include "platform/samba/samba_backend.h"
#include "quiet_host.h"

extern char** environ;

namespace {

using namespace dlgthreads;

using bench::QuietHost;

std::string prefix() {
  const char* p = std::getenv("VELTRANE_SAMBA_DC");
  return p ? p : "";
}
const std::string kServer = "\\\\127.0.0.2";

void usersBrowse(benchmark::State& state, bool directory) {
  if (prefix().empty()) {
    state.SkipWithError("VELTRANE_SAMBA_DC is not set");
    return;
  }
  std::string error;
  auto backend = platform::samba::sambaBackendFactory()(
      {{"authentication-file", prefix() + "/admin.auth"}, {"directory", directory ? "on" : "off"}},
      &error);
  if (!backend) {
    state.SkipWithError(error.c_str());
    return;
  }
  platform::ScopedBackend scope(backend);
  auto host = std::make_shared<QuietHost>();
  std::size_t accounts = 0;
  for (auto _ : state) {
    auto block = std::make_shared<WorkerBlock>();
    block->kind = WorkKind::Users;
    block->host = host;
    block->state.selectedServer = kServer;
    block->state.settings.u_quick_viewing = 0;
    ResetWork(WorkKind::Users);
    gatherUsers(block);
    accounts = block->users.records().size();
    state.PauseTiming();
    block.reset();
    state.ResumeTiming();
  }
  state.counters["accounts"] = static_cast<double>(accounts);
}

// Runs a tool to its end, its output thrown away (the child reads it).
int runQuietly(const std::vector<std::string>& argv) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", 1, 0);
  posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", 1, 0);
  std::vector<char*> args;
  for (const auto& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  int status = -1;
  if (posix_spawnp(&pid, args[0], &actions, nullptr, args.data(), environ) == 0)
    ::waitpid(pid, &status, 0);
  posix_spawn_file_actions_destroy(&actions);
  return status;
}

void tool(benchmark::State& state, const std::vector<std::string>& argv) {
  if (prefix().empty()) {
    state.SkipWithError("VELTRANE_SAMBA_DC is not set");
    return;
  }
  for (auto _ : state) {
    if (runQuietly(argv) != 0) state.SkipWithError("the tool failed");
  }
}

void BM_UsersBrowseFull_Directory(benchmark::State& state) { usersBrowse(state, true); }
void BM_UsersBrowseFull_Libnetapi(benchmark::State& state) { usersBrowse(state, false); }
// samba-tool reads the password from $PASSWD (the driver script sets it),
// as it cannot read an authentication file.
void BM_SambaToolUserList(benchmark::State& state) {
  tool(state, {"samba-tool", "user", "list", "-H", "ldap://127.0.0.2", "-U", "Administrator"});
}
void BM_NetRpcUser(benchmark::State& state) {
  tool(state, {"net", "rpc", "user", "-S", "127.0.0.2", "-A", prefix() + "/admin.auth"});
}

BENCHMARK(BM_UsersBrowseFull_Directory)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_UsersBrowseFull_Libnetapi)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_SambaToolUserList)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_NetRpcUser)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

BENCHMARK_MAIN();
