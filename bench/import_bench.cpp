// The import over a generated lab of 100,000 accounts and 2,000 groups:
// a user file of 10,000 new accounts, then a group file that puts each of
// them into three groups (30,000 member lines), read and applied as the
// wizard's Finish and the unattended import do. Then the 10,000 accounts
// alone into the 100,000-account lab kept in a file, once without a Password
// column (passwords nobody knows) and once with one (each hashed). Last,
// dry runs of 10,000 records on that file lab: a user file of half existing
// accounts to update and half new ones, and a group file of member lines.

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/resource.h>
#include <unistd.h>

#include "platform/atomic_file.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "transfer/import/import_engine.h"
#include "transfer/import/import_file.h"
#include "transfer/import/import_preview.h"
#include "ui/scripted_messages.h"

namespace {

constexpr int kNewUsers = 10000;
constexpr int kGroupsPerUser = 3;

std::string userFile(bool withPasswords = true) {
  std::string text = withPasswords ? "UserName\tPassword\tFull Name\tDescription\r\n"
                                   : "UserName\tFull Name\tDescription\r\n";
  for (int i = 0; i < kNewUsers; ++i) {
    const std::string n = std::to_string(i);
    text += "imp" + n + (withPasswords ? "\tpw-" + n + "-secret" : std::string()) +
            "\tImported User " + n + "\tFrom the import\r\n";
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

// A folder with the generated 100,000-account lab file, removed afterwards.
// It lies in VELTRANE_BENCH_DIR, else in /dev/shm: there a journal record's
// sync costs nothing, so the figure is the program's work, not the disk's.
class GeneratedLabFile {
 public:
  GeneratedLabFile() {
    const char* chosen = std::getenv("VELTRANE_BENCH_DIR");
    const std::filesystem::path base =
        chosen ? chosen
               : std::filesystem::is_directory("/dev/shm") ? "/dev/shm"
                                                           : std::filesystem::temp_directory_path();
    m_dir = base / ("veltrane-import-bench-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
    lab::GeneratorOptions options;
    options.users = 100000;
    options.groups = 2000;
    options.servers = 10;
    platform::writeFileAtomically(path(), lab::generateLab(options)->toJson(), &m_error);
  }
  ~GeneratedLabFile() { std::filesystem::remove_all(m_dir); }
  std::string path() const { return (m_dir / "lab.json").string(); }
  const std::string& error() const { return m_error; }

 private:
  std::filesystem::path m_dir;
  std::string m_error;
};

// CPU seconds of every thread of the process so far (the hashing threads
// included, which the benchmark's own CPU time leaves out).
double processCpuSeconds() {
  rusage usage{};
  ::getrusage(RUSAGE_SELF, &usage);
  auto seconds = [](const timeval& t) { return t.tv_sec + t.tv_usec / 1e6; };
  return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Argument 0: no Password column; 1: a password per account. Besides the
// wall time, "cpu_all" is the CPU time of all threads during the import: on
// a machine shared with other builds the wall time is theirs too, while
// cpu_all divided by the cores is what an idle machine would take.

void BM_Import10kUsersIntoFileLab(benchmark::State& state) {
  const bool withPasswords = state.range(0) != 0;
  const transfer::ImportFileResult file = transfer::parseImportText(userFile(withPasswords));
  if (!file.table) {
    state.SkipWithError(file.error.c_str());
    return;
  }
  double cpuAll = 0;
  for (auto _ : state) {
    state.PauseTiming();
    std::string error;
    std::shared_ptr<lab::Lab> lab;
    {
      GeneratedLabFile labFile;
      lab = labFile.error().empty() ? lab::loadLabFile(labFile.path(), &error) : nullptr;
      if (!lab) {
        state.SkipWithError((labFile.error() + error).c_str());
        return;
      }
      platform::ScopedBackend installed(lab::makeLabBackend(lab));
      ui::ScriptedMessages messages;
      transfer::ImportOptions importOptions;
      importOptions.server = "\\\\GENPDC";
      importOptions.askToContinue = false;
      const double cpuBefore = processCpuSeconds();
      state.ResumeTiming();

      const transfer::ImportSummary summary =
          transfer::runImport(*file.table, importOptions, messages);

      state.PauseTiming();
      cpuAll += processCpuSeconds() - cpuBefore;
      if (!summary.allApplied() || !messages.shown().empty()) {
        state.SkipWithError("the import did not apply every record");
        return;
      }
      lab.reset();  // folds the journal into the file: not the import's time
    }
    state.ResumeTiming();
  }
  state.SetLabel(withPasswords ? "with passwords" : "without passwords");
  state.counters["users"] = kNewUsers;
  state.counters["cpu_all"] = cpuAll;
}
BENCHMARK(BM_Import10kUsersIntoFileLab)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kSecond)
    ->Iterations(1)
    ->UseRealTime();

// 10,000 records over the generated accounts: the even ones rewrite an
// existing account's full name and description, the odd ones add a new
// account with a password.
std::string dryRunUserFile() {
  std::string text = "UserName\tPassword\tFull Name\tDescription\r\n";
  for (int i = 0; i < kNewUsers; ++i) {
    char existing[16];
    std::snprintf(existing, sizeof existing, "user%06d", 1 + i * 7);
    const std::string n = std::to_string(i);
    text += (i % 2 == 0 ? std::string(existing) + "\t" : "dry" + n + "\tpw-" + n + "-secret") +
            "\tRenamed User " + n + "\tFrom the dry run\r\n";
  }
  return text;
}

// 10,000 member lines, each putting a generated account into one of the
// 2,000 groups.
std::string dryRunGroupFile() {
  std::string text = "GroupName\tComment\tUserName\r\n";
  for (int i = 0; i < kNewUsers; ++i) {
    char group[16], user[16];
    std::snprintf(group, sizeof group, "group%04d", 1 + i % 2000);
    std::snprintf(user, sizeof user, "user%06d", 1 + i * 7);
    text += std::string(group) + "\t*None*\t" + user + "\r\n";
  }
  return text;
}

// Argument 0: the user file with "Update all"; 1: the group file. The time
// is the file's parsing and its dry run; the lab's loading is not counted.
void BM_DryRun10kRecordsOn100kFileLab(benchmark::State& state) {
  const bool users = state.range(0) == 0;
  const std::string text = users ? dryRunUserFile() : dryRunGroupFile();
  GeneratedLabFile labFile;
  std::string error;
  const auto lab = labFile.error().empty() ? lab::loadLabFile(labFile.path(), &error) : nullptr;
  if (!lab) {
    state.SkipWithError((labFile.error() + error).c_str());
    return;
  }
  platform::ScopedBackend installed(lab::makeLabBackend(lab));
  transfer::ImportOptions options;
  options.server = "\\\\GENPDC";
  options.style = transfer::ImportStyle::UpdateAll;
  const std::string before = lab->toJson();
  transfer::ImportPreview preview;
  for (auto _ : state) {
    const transfer::ImportFileResult file = transfer::parseImportText(text);
    if (!file.table) {
      state.SkipWithError(file.error.c_str());
      return;
    }
    preview = transfer::previewImport(*file.table, options);
  }
  if (preview.records.size() != static_cast<std::size_t>(kNewUsers) || !preview.allWouldApply() ||
      (users && (preview.added != kNewUsers / 2 || preview.updated != kNewUsers / 2))) {
    state.SkipWithError("the dry run did not see every record as the import would apply it");
    return;
  }
  if (lab->toJson() != before) {
    state.SkipWithError("the dry run changed the lab");
    return;
  }
  state.SetLabel(users ? "user file, update all" : "group file, member lines");
  state.counters["records"] = kNewUsers;
}
BENCHMARK(BM_DryRun10kRecordsOn100kFileLab)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
