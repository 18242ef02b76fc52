// The import over a generated lab of 100,000 accounts and 2,000 groups:
// a user file of 10,000 new accounts, then a group file that puts each of
// them into three groups (30,000 member lines), read and applied as the
// wizard's Finish and the unattended import do.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "transfer/import/import_engine.h"
#include "transfer/import/import_file.h"
#include "ui/scripted_messages.h"

namespace {

constexpr int kNewUsers = 10000;
constexpr int kGroupsPerUser = 3;

std::string userFile() {
  std::string text = "UserName\tPassword\tFull Name\tDescription\r\n";
  for (int i = 0; i < kNewUsers; ++i) {
    const std::string n = std::to_string(i);
    text += "imp" + n + "\tpw-" + n + "-secret\tImported User " + n + "\tFrom the import\r\n";
  }
  return text;
}

std::string groupFile() {
  std::string text = "GroupName\tComment\tUserName\r\n";
  for (int i = 0; i < kNewUsers; ++i) {
    for (int k = 0; k < kGroupsPerUser; ++k) {
      const int group = 1 + (i * kGroupsPerUser + k) % 2000;
      char name[16];
      std::snprintf(name, sizeof name, "group%04d", group);
      text += std::string(name) + "\t*None*\timp" + std::to_string(i) + "\r\n";
    }
  }
  return text;
}

void BM_Import10kUsersWith3MembershipsInto100kLab(benchmark::State& state) {
  const std::string users = userFile();
  const std::string groups = groupFile();
  for (auto _ : state) {
    state.PauseTiming();
    lab::GeneratorOptions options;
    options.users = 100000;
    options.groups = 2000;
    options.servers = 10;
    platform::ScopedBackend installed(lab::makeLabBackend(lab::generateLab(options)));
    ui::ScriptedMessages messages;
    transfer::ImportOptions importOptions;
    importOptions.server = "\\\\GENPDC";
    importOptions.askToContinue = false;
    state.ResumeTiming();

    bool applied = true;
    for (const std::string* text : {&users, &groups}) {
      const transfer::ImportFileResult file = transfer::parseImportText(*text);
      if (!file.table) {
        state.SkipWithError(file.error.c_str());
        return;
      }
      const transfer::ImportSummary summary =
          transfer::runImport(*file.table, importOptions, messages);
      applied = applied && summary.allApplied();
    }
    if (!applied || !messages.shown().empty()) {
      state.SkipWithError("the import did not apply every record");
      return;
    }
  }
  state.counters["records"] = kNewUsers * (1 + kGroupsPerUser);
}
BENCHMARK(BM_Import10kUsersWith3MembershipsInto100kLab)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
