// The Servers worker over a generated browse list: every computer's remote
// registry is connected and its version key read, which is the cost of a
// Servers browse. The second variant adds the five extra entries.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "dlgthreads/server_worker.h"
#include "dlgthreads/worker_frame.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "platform/netapi.h"
#include "platform/registry.h"
#include "settings/settings_store.h"
#include "ui/scripted_messages.h"

namespace {

using namespace dlgthreads;

class SilentHost final : public WorkerHost {
 public:
  void setStatusText(std::string) override {}
  ui::Messages& messages() override { return m_messages; }
  void workFinished(std::shared_ptr<WorkerBlock>) override {}

 private:
  ui::ScriptedMessages m_messages;
};

// Extra entries as a user would define them: three that every generated
// machine has and two that it lacks (a missing key, a missing value).
void defineExtraEntries() {
  platform::RegKey key;
  platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, settings::kProgramKey, 0,
                           platform::KEY_ALL_ACCESS, key.out(), nullptr);
  const char* definitions[] = {
      "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\CSDVersion",
      "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\CurrentBuildNumber",
      "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\InstallDate",
      "SOFTWARE\\Nowhere\\Value",
      "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\RegisteredOwner",
  };
  for (int n = 0; n < 5; ++n) {
    platform::RegSetValueEx(key.get(), "s_xtra" + std::to_string(n + 1), platform::REG_SZ,
                            platform::regSzBytes(definitions[n]));
  }
}

void BM_ServerBrowse(benchmark::State& state) {
  lab::GeneratorOptions options;
  options.users = 10;
  options.groups = 2;
  options.servers = static_cast<int>(state.range(0));
  const bool extras = state.range(1) != 0;
  auto generated = lab::generateLab(options);
  platform::ScopedBackend backend(lab::makeLabBackend(generated));
  if (extras) defineExtraEntries();
  std::string server;
  platform::NetGetDCName({}, {}, &server);
  auto host = std::make_shared<SilentHost>();
  std::int32_t count = 0;
  for (auto _ : state) {
    auto block = std::make_shared<WorkerBlock>();
    block->kind = WorkKind::Servers;
    block->host = host;
    block->state.selectedServer = server;
    block->state.settings.s_show_extra_entries = extras ? 1 : 0;
    ResetWork(WorkKind::Servers);
    gatherServers(block);
    state.PauseTiming();
    count = block->servers.count();
    block.reset();
    state.ResumeTiming();
  }
  state.counters["computers"] = count;
}
BENCHMARK(BM_ServerBrowse)
    ->ArgNames({"servers", "extras"})
    ->Args({2000, 0})
    ->Args({2000, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3);

}  // namespace
