#pragma once
// Test support for the import: a lab with accounts, groups and a file server,
// the import run over text, and reads of what the lab then holds.

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "../support/lab_fixture.h"
#include "platform/eventlog.h"
#include "platform/netapi.h"
#include "transfer/import/import_engine.h"
#include "ui/scripted_messages.h"

namespace transfer::test {

inline constexpr std::string_view kServer = "\\\\PDC";

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

inline std::optional<platform::USER_INFO_3> account(std::string_view name) {
  platform::NetBuffer buffer;
  if (platform::NetUserGetInfo(kServer, name, 3, buffer) != 0) return std::nullopt;
  return *buffer.one<platform::USER_INFO_3>();
}

inline std::vector<std::string> globalMembers(std::string_view group) {
  platform::NetBuffer buffer;
  platform::DWORD read = 0, total = 0;
  std::vector<std::string> names;
  if (platform::NetGroupGetUsers(kServer, group, 0, buffer, 0xFFFFFFFF, &read, &total, nullptr) == 0)
    for (const auto& m : buffer.get<platform::GROUP_USERS_INFO_0>()) names.push_back(m.grui0_name);
  return names;
}

inline std::vector<std::string> localMembers(std::string_view group) {
  platform::NetBuffer buffer;
  platform::DWORD read = 0, total = 0;
  std::vector<std::string> names;
  if (platform::NetLocalGroupGetMembers(kServer, group, 3, buffer, 0xFFFFFFFF, &read, &total,
                                        nullptr) == 0)
    for (const auto& m : buffer.get<platform::LOCALGROUP_MEMBERS_INFO_3>())
      names.push_back(m.lgrmi3_domainandname);
  return names;
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
