#include "transfer/export_format.h"

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

namespace {

bool equalsNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(a[i])) !=
        std::tolower(static_cast<unsigned char>(b[i])))
      return false;
  return true;
}

}  // namespace

int filterOfPath(std::string_view path, int selectedFilter) {
  const auto slash = path.find_last_of('/');
  const auto dot = path.find_last_of('.');
  if (dot == std::string_view::npos || (slash != std::string_view::npos && dot < slash))
    return selectedFilter;
  const std::string_view extension = path.substr(dot);  // ".csv"
  const auto filters = exportFilters();
  for (std::size_t i = 0; i < filters.size(); ++i)
    for (const std::string& pattern : filters[i].patterns)
      if (pattern.starts_with('*') && equalsNoCase(std::string_view(pattern).substr(1), extension))
        return static_cast<int>(i) + 1;
  return selectedFilter;
}

DisplayType exportedDisplay(DisplayType type) {
  switch (type) {
    case DisplayType::Files:
    case DisplayType::Groups:
    case DisplayType::Network:
    case DisplayType::Quotas:
    case DisplayType::Servers:
    case DisplayType::Users:
    case DisplayType::Licenses:
    case DisplayType::Trusts:
      return type;
    case DisplayType::Performance:
    case DisplayType::None:
      break;
  }
  return DisplayType::Users;
}

std::string exportTableName(DisplayType type) {
  return "Exp_" + std::string(display::tabText(exportedDisplay(type)));
}

}  // namespace transfer
