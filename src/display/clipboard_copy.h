#pragma once
// File > "&Copy to clipboard": the current list, as displayed, as plain
// text on the clipboard.
//
// Entry point for the window:
//   display::copyToClipboard(host);   // host: the window's DisplayViews
//
// The text is a header line and one line per row in the list's current
// order (a sort is followed, rows a filter hid are left out); every column,
// hidden ones included, cells separated by tabs, lines ended by CR LF, no
// quoting: a tab, CR or LF inside a cell is copied as a space. The Network display is refused with a message; Performance and
// displays that match no tab copy nothing. Either way the clipboard is
// emptied first.

#include <string>
#include <string_view>

class QTableView;

namespace display {

class DisplayViews;
enum class DisplayType : int;

inline constexpr std::string_view kNotSupportedText =
    "Export of this display type is not supported.";

// The list the clipboard copy and the print read for a display type, or
// nullptr (Network, Performance, None, or a display without a list).
QTableView* printableList(DisplayViews& host, DisplayType type);
// The list of the current display, as above; for Network the user is told
// first that it is not supported.
const QTableView* currentPrintableList(DisplayViews& host);

// The clipboard text of a list.
std::string clipboardText(const QTableView& view);

// The command. Returns true when text was put on the clipboard.
bool copyToClipboard(DisplayViews& host);

}  // namespace display
