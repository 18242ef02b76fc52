#pragma once
// Reading an import file: a header line of column names and one record per
// further line, cells separated by tabs. The whole file is read and checked
// before anything is applied, so a faulty file imports nothing.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace transfer {

// Limits that no real import file reaches, checked before the bytes they
// bound are held: a file of tabs or of endless lines is refused after a
// look at its size, or after reading one line too many, rather than after
// filling memory. Cells take far more memory than their text, hence a limit
// on them too.
inline constexpr std::uint64_t kMaxImportFileBytes = std::uint64_t{256} << 20;  // 256 MiB
inline constexpr std::size_t kMaxImportLineBytes = std::size_t{1} << 20;        // 1 MiB, line end not counted
inline constexpr std::size_t kMaxImportColumns = 64;  // a user file knows 12, a group file 3
inline constexpr std::size_t kMaxImportCells = 4000000;  // records × columns

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
// ones); the last line needs no line end. Cells are UTF-8 whatever the
// file's character set was. Empty lines hold no record and are passed over.
// Refused with one message: an empty file, a file with a NUL byte (not a
// text file), a line longer than kMaxImportLineBytes, a line of more than
// kMaxImportColumns cells, more than kMaxImportCells cells in all, a header
// with an empty title, a header without records, and a record whose cell
// count differs from the header's (a cell would otherwise be dropped or
// blanked unseen).
ImportFileResult parseImportText(std::string_view bytes);

// Reads the file at `path` and parses it. A file that cannot be opened gives
// the import's "cannot open" message, one that is no regular file (a
// directory, a pipe, a device) that message and why; a file larger than
// kMaxImportFileBytes is refused before it is read, and one with a line
// longer than kMaxImportLineBytes as soon as that line is read.
ImportFileResult readImportFile(const std::string& path);

}  // namespace transfer
