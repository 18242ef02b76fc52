// The import file reader over any bytes: it must never crash, and what it
// accepts must keep its promises (whole rows, UTF-8 cells without line ends
// or tabs).

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "transfer/import/home_path.h"
#include "transfer/import/import_file.h"
#include "transfer/import/import_header.h"
#include "transfer/import/text_encoding.h"

namespace {

void check(bool ok) {
  if (!ok) std::abort();
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
  return 0;
}
