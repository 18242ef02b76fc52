#pragma once
// The export's format choice and table naming. Plain C++: the window's
// export command and the unattended run share it.
//
// Filters are numbered from 1 as the save dialog numbers them; the setting
// `x_export_type` (0, 1, 2) selects filter `x_export_type` + 1 at first.

#include <string>
#include <string_view>
#include <vector>

#include "window/display_type.h"
#include "transfer/text_lines.h"
#include "ui/file_chooser.h"

namespace transfer {

enum class ExportFormat { TabText, CsvText, Database };

// The save dialog's filters, in filter order (1 tab, 2 CSV, 3 database).
// The database is written by SQLite, so its filter names that format.
std::vector<ui::FileFilter> exportFilters();
inline constexpr std::string_view kDefaultExtension = "TXT";

// The writer of a 1-based filter index: 2 CSV, 3 database, any other index
// the tab-delimited writer.
ExportFormat formatOfFilter(int filterIndex);
// The writer of the setting `x_export_type` (filter `x_export_type` + 1).
ExportFormat formatOfExportType(long exportType);

// The separator between two cells of a text line.
constexpr char separatorOf(ExportFormat format) {
  return format == ExportFormat::CsvText ? ',' : '\t';
}

// How a cell holding the separator is kept whole: only comma-separated
// files quote, since spreadsheets read them as RFC 4180 text.
constexpr CellQuoting quotingOf(ExportFormat format) {
  return format == ExportFormat::CsvText ? CellQuoting::Rfc4180 : CellQuoting::None;
}

// The display whose list an export reads: every display type without an
// export of its own exports the Users list.
display::DisplayType exportedDisplay(display::DisplayType type);

// The database table of a display: "Exp_" followed by the display's name.
std::string exportTableName(display::DisplayType type);

}  // namespace transfer
