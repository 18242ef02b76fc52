#include "transfer/text_lines.h"

#include <algorithm>
#include <iterator>

#include "display/tab_text.h"

namespace transfer {
namespace {

void appendCell(std::string& out, std::string_view cell, char separator, CellQuoting quoting) {
  if (quoting == CellQuoting::None) {
    // Nothing can be quoted here: whatever would split the line becomes a
    // space.
    for (const char c : cell) out += display::breaksTabLine(c) || c == separator ? ' ' : c;
    return;
  }
  const char special[] = {separator, '"', '\r', '\n'};
  if (cell.find_first_of(std::string_view(special, std::size(special))) == std::string_view::npos) {
    out += cell;
    return;
  }
  out += '"';
  for (const char c : cell) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

}  // namespace

void appendListLine(std::string& out, std::span<const std::string> cells,
                    const std::vector<bool>& hidden, char separator, CellQuoting quoting) {
  for (std::size_t column = 0; column < cells.size(); ++column) {
    if (column < hidden.size() && hidden[column]) continue;
    if (column != 0) out += separator;
    appendCell(out, cells[column], separator, quoting);
  }
  out += kLineEnd;
}

void appendTreeLine(std::string& out, int depth, std::string_view text) {
  out.append(static_cast<std::size_t>(std::max(depth, 0)), '\t');
  // A tab inside the text would read as a deeper level, a line break as a
  // node of its own.
  display::appendTabCell(out, text);
  out += kLineEnd;
}

std::string databaseFieldName(std::string_view title) {
  std::string name(title);
  std::replace(name.begin(), name.end(), '.', '_');
  return name;
}

std::string_view databaseValue(std::string_view cell) {
  return cell.empty() ? kEmptyCellValue : cell;
}

}  // namespace transfer
