#include "transfer/import/import_engine.h"

#include <algorithm>

#include "platform/change_batch.h"
#include "resources/strings.h"
#include "transfer/import/import_run.h"
#include "transfer/import/import_texts.h"
#include "transfer/import/password_lookahead.h"
#include "ui/messages.h"

namespace transfer {

namespace {

// After a failed user record: go on with the next one?
bool continueAfterFailure(ImportRun& run) {
  if (!run.options().askToContinue) return true;
  const ui::Answer answer = run.messages().show(
      ui::Message{std::string(importTexts::kAttemptFailed),
                  std::string(importTexts::kImportFailedCaption), ui::Buttons::YesNo,
                  ui::Icon::Error, ui::Answer::Yes});
  return answer == ui::Answer::Yes;
}

}  // namespace

bool ImportSummary::closesWizard() const {
  if (kind == ImportKind::Groups) return !stopped && !cancelled;
  return !cancelled;
}

std::vector<std::string> ImportSummary::countLines() const {
  auto line = [](std::string_view what, const ImportCounts& c) {
    return std::string(what) + ": " + std::to_string(c.added) + " added, " +
           std::to_string(c.updated) + " updated, " + std::to_string(c.unchanged) +
           " left unchanged, " + std::to_string(c.failed) + " failed";
  };
  std::vector<std::string> lines;
  // Imported are the records applied: a failed one was taken, not imported.
  const ImportCounts& counts = kind == ImportKind::Groups ? groups : users;
  const std::size_t applied = recordsDone - std::min(recordsDone, counts.failed);
  lines.push_back("Records imported: " + std::to_string(applied) + " of " +
                  std::to_string(recordsTotal) +
                  (cancelled ? " (cancelled)" : stopped ? " (stopped)" : ""));
  if (kind == ImportKind::Users) {
    lines.push_back(line("Users", users));
    if (homesCreated + homesFailed > 0)
      lines.push_back("Home directories: " + std::to_string(homesCreated) + " created, " +
                      std::to_string(homesFailed) + " failed");
  } else if (kind == ImportKind::Groups) {
    lines.push_back(line("Groups", groups));
    lines.push_back("Members added: " + std::to_string(membersAdded));
  }
  return lines;
}

ImportSummary runImport(const ImportTable& table, const ImportOptions& options,
                        ui::Messages& messages, ImportProgress* progress) {
  ImportSummary summary;
  summary.recordsTotal = table.rows.size();
  const ImportHeader header = checkImportHeader(table.header);
  const std::string title = res::programTitle();
  for (const std::string& message : header.messages) messages.ok(message, title);
  if (header.kind == ImportKind::None) {
    summary.failures.push_back("The header names neither a user file nor a group file.");
    messages.ok(std::string(importTexts::kAttemptFailed), title);
    return summary;
  }
  summary.kind = header.kind;
  ImportRun run(options, header, messages, summary);
  // The records' changes are made durable together, before the summary
  // reports them done.
  platform::ChangeBatch batch;
  PasswordLookahead passwords(table, header);
  for (const ImportRow& row : table.rows) {
    if (progress && !progress->recordsDone(summary.recordsDone, summary.recordsTotal)) {
      summary.cancelled = true;
      break;
    }
    if (header.kind == ImportKind::Users) {
      passwords.reached(row);
      if (importUserRecord(run, row)) {
        if (options.createHomes) createHome(run, row);
      } else {
        ++summary.users.failed;
        if (run.serverLost() || !continueAfterFailure(run)) {
          ++summary.recordsDone;
          summary.stopped = true;
          break;
        }
      }
    } else if (!importGroupRecord(run, row)) {
      ++summary.groups.failed;
      ++summary.recordsDone;
      if (!run.serverLost()) messages.ok(std::string(importTexts::kGroupImportFailed), title);
      summary.stopped = true;
      break;
    }
    ++summary.recordsDone;
  }
  if (run.lostStatus()) {
    summary.failures.push_back(run.lostText());
    messages.ok(run.lostText(), title);
  }
  if (std::string error; !batch.commit(&error)) {
    summary.failures.push_back("The changes could not be saved: " + error);
    messages.ok("The changes could not be saved: " + error, title);
  }
  if (progress && !summary.cancelled) progress->recordsDone(summary.recordsDone, summary.recordsTotal);
  return summary;
}

}  // namespace transfer
