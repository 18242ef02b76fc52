#pragma once
// A cell of a tab-separated line, as the clipboard copy and the
// tab-delimited export write it. Tab-separated text has no quoting: a tab,
// CR or LF inside a cell would split the row (a crafted comment could add
// rows of its own), so each of them is written as one space.

#include <string>
#include <string_view>

namespace display {

inline bool breaksTabLine(char c) { return c == '\t' || c == '\r' || c == '\n'; }

inline void appendTabCell(std::string& out, std::string_view cell) {
  for (const char c : cell) out += breaksTabLine(c) ? ' ' : c;
}

}  // namespace display
