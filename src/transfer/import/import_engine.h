#pragma once
// Applying an import file to a server: the wizard's Finish and the
// unattended import run this same code. Records are applied one at a time
// through the platform; each is done or not started (a cancel is taken
// between records). Plain C++: messages go through the ui::Messages port.

#include <cstddef>
#include <string>
#include <vector>

#include "transfer/import/import_file.h"
#include "transfer/import/import_header.h"

namespace ui {
class Messages;
}

namespace transfer {

enum class ImportStyle { OnlyAddNew = 0, UpdateAll = 1 };

struct ImportOptions {
  std::string server;  // the target server, "\\NAME" or "NAME"
  ImportStyle style = ImportStyle::OnlyAddNew;
  bool createHomes = false;
  bool logging = false;  // e_logging_onoff: report additions to the event log
  // After a failed user record, ask whether to go on; without asking (an
  // unattended run) the import goes on with the next record.
  bool askToContinue = true;
};

// Told before each record and after the last; answers false to stop the
// import before the next record (Cancel).
class ImportProgress {
 public:
  virtual ~ImportProgress() = default;
  virtual bool recordsDone(std::size_t done, std::size_t total) = 0;
};

struct ImportCounts {
  std::size_t added = 0;
  std::size_t updated = 0;
  std::size_t unchanged = 0;  // existing, left as they were ("Only add new")
  std::size_t failed = 0;
};

struct ImportSummary {
  ImportKind kind = ImportKind::None;  // None: the header was refused
  ImportCounts users;
  ImportCounts groups;
  std::size_t membersAdded = 0;    // member lines applied (already a member included)
  std::size_t homesCreated = 0;
  std::size_t homesFailed = 0;
  std::size_t recordsDone = 0;     // records taken, failed ones included
  std::size_t recordsTotal = 0;
  bool cancelled = false;          // stopped by the progress (Cancel)
  bool stopped = false;            // stopped by a failure (No, or a failed group record)
  // One line per failure: "Line N: NAME: what happened".
  std::vector<std::string> failures;

  // Every record was applied, with its home directory where one was asked.
  bool allApplied() const {
    return kind != ImportKind::None && !cancelled && !stopped && failures.empty() &&
           recordsDone == recordsTotal;
  }
  // The wizard closes after a user file, and after a group file whose records
  // all succeeded; a refused header closes it too.
  bool closesWizard() const;
  // The summary as lines of text ("Users added: 3" ...).
  std::vector<std::string> countLines() const;
};

ImportSummary runImport(const ImportTable& table, const ImportOptions& options,
                        ui::Messages& messages, ImportProgress* progress = nullptr);

}  // namespace transfer
