#include "app/unattended_import.h"

#include <cstdio>

#include "app/startup.h"
#include "app/stderr_messages.h"
#include "platform/backend.h"
#include "platform/server_name.h"
#include "settings/settings_store.h"
#include "transfer/import/import_engine.h"
#include "transfer/import/import_file.h"
#include "transfer/import/import_preview.h"

namespace app {

namespace {

// --dry-run: one line per record and the counts on standard output, what
// kept the records from being looked at on standard error. Nothing is
// written, not even the logging setting read.
int printDryRun(const transfer::ImportTable& table, const transfer::ImportOptions& options,
                ui::Messages& messages) {
  const transfer::ImportPreview preview = transfer::previewImport(table, options);
  for (const std::string& problem : preview.problems) messages.ok(problem, res::programTitle());
  for (const transfer::PreviewRecord& record : preview.records)
    std::printf("%s\n", record.text().c_str());
  for (const std::string& line : preview.countLines()) std::printf("%s\n", line.c_str());
  return preview.allWouldApply() ? 0 : 1;
}

}  // namespace

bool isImportRequest(const Options& options) {
  return !options.autoWords.empty() && options.autoWords.front() == "import";
}

int runUnattendedImport(const Options& options) {
  if (options.autoWords.size() != 3 || options.autoWords[1].empty() ||
      options.autoWords[2].empty()) {
    std::fprintf(stderr, "veltrane: import needs a server and a file: import SERVER FILE\n%s",
                 usageText().c_str());
    return 2;
  }
  std::string error;
  auto backend = makeBackend(backendCatalog(), options, &error);
  if (!backend) {
    std::fprintf(stderr, "veltrane: %s\n", backendFailureLine(options.backend, error).c_str());
    return 1;
  }
  platform::ScopedBackend installed(std::move(backend));
  StderrMessages messages;
  if (!platformSupported(messages)) return 1;

  const transfer::ImportFileResult file = transfer::readImportFile(options.autoWords[2]);
  if (!file.table) {
    messages.ok(file.error, res::programTitle());
    return 1;
  }
  transfer::ImportOptions importOptions;
  importOptions.server = platform::uncName(options.autoWords[1]);
  importOptions.style =
      options.importUpdate ? transfer::ImportStyle::UpdateAll : transfer::ImportStyle::OnlyAddNew;
  importOptions.createHomes = options.importCreateHomes;
  importOptions.askToContinue = false;
  if (options.importDryRun) return printDryRun(*file.table, importOptions, messages);

  // The logging switch is the user's setting, as in the window.
  settings::SettingsValues values;
  settings::ServerList servers;
  settings::SettingsStore(messages, res::programTitle()).load(values, servers);
  importOptions.logging = values.e_logging_onoff != 0;
  const transfer::ImportSummary summary =
      transfer::runImport(*file.table, importOptions, messages);
  for (const std::string& line : summary.countLines()) std::printf("%s\n", line.c_str());
  return summary.allApplied() ? 0 : 1;
}

}  // namespace app
