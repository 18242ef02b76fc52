#pragma once
// A dry run of an import: every record decided as the import decides it
// (record_plan.h, with the same look-ups), what the server would refuse
// said beforehand (server_refusals.h), and nothing written: no account, no
// group, no home directory, no event, no journal record.

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "transfer/import/import_engine.h"

namespace transfer {

enum class PreviewOutcome { Added, Updated, Unchanged, WouldFail };

struct PreviewRecord {
  std::size_t line = 0;  // the record's line in the file
  std::string name;      // its user or group name, as the file gives it
  PreviewOutcome outcome = PreviewOutcome::Unchanged;
  // What changes ("full name, description"), or why it would fail.
  std::string detail;
  // With "Create Homes": what would become of the home directory.
  std::string home;

  // "line 12: jsmith: updated (full name, description)".
  std::string text() const;
};

// "added", "updated", "unchanged", "would fail".
std::string_view outcomeWords(PreviewOutcome outcome);

struct ImportPreview {
  ImportKind kind = ImportKind::None;  // None: the header was refused
  std::vector<PreviewRecord> records;
  std::size_t recordsTotal = 0;
  std::size_t added = 0;
  std::size_t updated = 0;
  std::size_t unchanged = 0;
  std::size_t failing = 0;
  std::size_t membersToAdd = 0;    // member lines whose member is not in the group yet
  std::size_t alreadyMembers = 0;  // member lines whose member is
  std::size_t homesToCreate = 0;
  std::size_t homesFailing = 0;
  // A group file's import stops at its first failed record: its line.
  std::optional<std::size_t> stopLine;
  bool cancelled = false;
  // Why the records could not be looked at: the header's messages, a server
  // that does not answer.
  std::vector<std::string> problems;

  // The import would apply every record, with its home directory.
  bool allWouldApply() const {
    return kind != ImportKind::None && problems.empty() && !cancelled && failing == 0 &&
           homesFailing == 0 && records.size() == recordsTotal;
  }
  // The counts as lines of text, first "Dry run: nothing was changed.".
  std::vector<std::string> countLines() const;
};

// The progress is told before each record and after the last, as by the
// import, and may cancel between records.
ImportPreview previewImport(const ImportTable& table, const ImportOptions& options,
                            ImportProgress* progress = nullptr);

}  // namespace transfer
