#pragma once
// The lines of the export files, built in memory one line at a time. Plain
// C++; lines are never cut short. Tab-delimited cells cannot be quoted: a
// tab, CR or LF inside one is written as a space. Comma-separated cells are
// quoted only where a spreadsheet would otherwise split or join them.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace transfer {

inline constexpr std::string_view kLineEnd = "\r\n";

enum class CellQuoting {
  // Tab-delimited: the separator, tab, CR and LF inside a cell become spaces.
  None,
  // A cell holding the separator, a double quote, CR or LF is enclosed in
  // double quotes with its own quotes doubled (RFC 4180); others as they are.
  Rfc4180,
};

// Appends one line of a list: the cells of the columns that are not hidden,
// then CR LF. Every written cell except column 0's is preceded by the
// separator, so a line whose column 0 is hidden begins with one. Cells past
// the end of `hidden` count as shown; missing cells as empty.
void appendListLine(std::string& out, std::span<const std::string> cells,
                    const std::vector<bool>& hidden, char separator,
                    CellQuoting quoting = CellQuoting::None);

// Appends one line of a tree: one tab per level of depth (0 for a root
// node), the node's text (a tab, CR or LF in it as a space), CR LF.
void appendTreeLine(std::string& out, int depth, std::string_view text);

// The database field of a column: its title with every "." replaced by "_".
std::string databaseFieldName(std::string_view title);
// The value stored for a cell: the text, or "*NONE*" for an empty cell.
std::string_view databaseValue(std::string_view cell);
inline constexpr std::string_view kEmptyCellValue = "*NONE*";

}  // namespace transfer
