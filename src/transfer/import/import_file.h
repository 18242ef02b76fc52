#pragma once
// Reading an import file: a header line of column names and one record per
// further line, cells separated by tabs. The whole file is read and checked
// before anything is applied, so a faulty file imports nothing.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace transfer {

struct ImportRow {
  std::size_t line = 0;  // 1-based line of the file, for messages
  std::vector<std::string> cells;  // exactly as many as the header has columns
};

struct ImportTable {
  std::vector<std::string> header;
  std::vector<ImportRow> rows;
  bool fromWindows1252 = false;  // the file was not valid UTF-8
};

struct ImportFileResult {
  std::optional<ImportTable> table;
  std::string error;  // one message when table is empty
};

// Lines end with LF; a CR anywhere is dropped (CR LF files read like LF
// ones); the last line needs no line end; lines may be of any length. Cells
// are UTF-8 whatever the file's character set was. Empty lines hold no
// record and are passed over. Refused with one message: an empty file, a
// file with a NUL byte (not a text file), a header with an empty title, a
// header without records, and a record whose cell count differs from the
// header's (a cell would otherwise be dropped or blanked unseen).
ImportFileResult parseImportText(std::string_view bytes);

// Reads the file at `path` and parses it; a file that cannot be read gives
// the import's "cannot open" message.
ImportFileResult readImportFile(const std::string& path);

}  // namespace transfer
