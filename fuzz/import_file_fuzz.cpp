// The import file reader over any bytes: it must never crash, and what it
// accepts must keep its promises (whole rows, UTF-8 cells without line ends
// or tabs). What it accepts is then imported into a small lab, in both
// styles and with homes, which must answer every record without throwing.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>

#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "transfer/import/import_engine.h"
#include "ui/scripted_messages.h"

#include "transfer/import/home_path.h"
#include "transfer/import/import_file.h"
#include "transfer/import/import_header.h"
#include "transfer/import/text_encoding.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
}

constexpr std::string_view kLab = R"({
  "format": 1, "localMachine": "WKS", "loggedOn": "LAB\\Administrator",
  "domains": [{"name": "LAB", "sid": "S-1-5-21-10-20-30", "pdc": "PDC",
    "policy": {"minPasswordLength": 2},
    "users": [{"name": "Administrator", "rid": 500, "priv": 2}, {"name": "ann"}],
    "groups": [{"name": "Domain Admins", "rid": 512, "members": ["Administrator"]},
               {"name": "Domain Users", "rid": 513, "members": ["Administrator", "ann"]},
               {"name": "Staff", "members": ["ann"]}],
    "localGroups": [{"name": "Administrators", "rid": 544, "members": ["Domain Admins"]},
                    {"name": "Local", "members": ["ann"]}]}],
  "machines": [
    {"name": "PDC", "domain": "LAB", "type": ["SV_TYPE_SERVER", "SV_TYPE_DOMAIN_CTRL", "SV_TYPE_NT"],
     "volumes": [{"drive": "D", "root": {"children": [{"name": "Users", "dir": true}]}}]},
    {"name": "WKS", "domain": "LAB", "type": ["SV_TYPE_WORKSTATION", "SV_TYPE_NT"]}]
})";

void importIntoLab(const transfer::ImportTable& table, transfer::ImportStyle style) {
  std::string error;
  auto lab = lab::labFromJson(kLab, "fuzz-lab.json", &error);
  check(lab != nullptr);
  platform::ScopedBackend installed(lab::makeLabBackend(lab));
  ui::ScriptedMessages messages;
  transfer::ImportOptions options;
  options.server = "\\\\PDC";
  options.style = style;
  options.createHomes = true;
  options.logging = true;
  options.askToContinue = false;
  const transfer::ImportSummary summary = transfer::runImport(table, options, messages);
  check(summary.recordsDone <= table.rows.size());
  check(summary.allApplied() || !summary.failures.empty() || summary.cancelled || summary.stopped ||
        summary.kind == transfer::ImportKind::None);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const transfer::ImportFileResult result = transfer::parseImportText(bytes);
  check(result.table.has_value() == result.error.empty());
  if (!result.table) return 0;
  const transfer::ImportTable& table = *result.table;
  check(!table.header.empty() && !table.rows.empty());
  auto cleanCell = [](const std::string& cell) {
    return transfer::isValidUtf8(cell) && cell.find_first_of(std::string_view("\t\r\n\0", 4)) ==
                                              std::string::npos;
  };
  for (const std::string& title : table.header) check(!title.empty() && cleanCell(title));
  for (const transfer::ImportRow& row : table.rows) {
    check(row.cells.size() == table.header.size());
    for (const std::string& cell : row.cells) {
      check(cleanCell(cell));
      (void)transfer::isShareDirectoryPath(cell);
    }
  }
  const transfer::ImportHeader header = transfer::checkImportHeader(table.header);
  if (header.kind != transfer::ImportKind::None) {
    for (const auto& column : header.columns) check(!column || *column < table.header.size());
  }
  // Keeps each input quick: the lab's own limits are not what is fuzzed.
  if (table.rows.size() <= 64) {
    importIntoLab(table, transfer::ImportStyle::OnlyAddNew);
    importIntoLab(table, transfer::ImportStyle::UpdateAll);
  }
  return 0;
}
