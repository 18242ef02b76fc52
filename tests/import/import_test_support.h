#pragma once
// Test support for the import: a lab with accounts, groups and a file server,
// the import run over text, and reads of what the lab then holds.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "../support/lab_fixture.h"
#include "../support/lab_readback.h"
#include "platform/eventlog.h"
#include "platform/netapi.h"
#include "transfer/import/import_engine.h"
#include "ui/scripted_messages.h"

namespace transfer::test {

inline constexpr std::string_view kServer = test_support::kPdc;

// What the lab holds after an import, read back through the platform API.
using test_support::account;
using test_support::globalMembers;
using test_support::localMembers;

// Parses `text` and imports it; a text the reader refuses fails the test.
inline ImportSummary importText(std::string_view text, ui::Messages& messages,
                                ImportOptions options = {}, ImportProgress* progress = nullptr) {
  if (options.server.empty()) options.server = std::string(kServer);
  const ImportFileResult file = parseImportText(text);
  EXPECT_TRUE(file.table) << file.error;
  if (!file.table) return {};
  return runImport(*file.table, options, messages, progress);
}

inline ImportOptions updateAll() {
  ImportOptions options;
  options.style = ImportStyle::UpdateAll;
  return options;
}

inline std::vector<std::string> eventTexts() {
  std::vector<platform::EventRecord> records;
  platform::ReadEventLog("", &records);
  std::vector<std::string> texts;
  for (const auto& r : records)
    texts.push_back(std::to_string(r.eventId) + " " + (r.strings.empty() ? "" : r.strings[0]));
  return texts;
}

inline std::vector<std::string> texts(const ui::ScriptedMessages& messages) {
  std::vector<std::string> shown;
  for (const auto& m : messages.shown()) shown.push_back(m.caption + "|" + m.text);
  return shown;
}

}  // namespace transfer::test
