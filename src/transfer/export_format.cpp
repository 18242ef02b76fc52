#include "transfer/export_format.h"

#include "session/display_traits.h"

#include <cctype>

namespace transfer {

using display::DisplayType;

std::vector<ui::FileFilter> exportFilters() {
  return {
      {"Tab delimited", {"*.txt"}},
      {"CSV", {"*.csv"}},
      {"SQLite database", {"*.db"}},
  };
}

ExportFormat formatOfFilter(int filterIndex) {
  switch (filterIndex) {
    case 2: return ExportFormat::CsvText;
    case 3: return ExportFormat::Database;
    default: return ExportFormat::TabText;
  }
}

ExportFormat formatOfExportType(long exportType) {
  const long filter = exportType + 1;
  return formatOfFilter(filter >= 1 && filter <= 3 ? static_cast<int>(filter) : 1);
}

DisplayType exportedDisplay(DisplayType type) { return display::traitsOf(type).exportedAs; }

std::string exportTableName(DisplayType type) {
  return "Exp_" + std::string(display::tabText(exportedDisplay(type)));
}

}  // namespace transfer
