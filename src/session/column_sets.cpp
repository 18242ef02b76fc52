#include "session/column_sets.h"

#include "session/display_traits.h"

namespace display {

using settings::SettingsValues;

FilesForm filesFormOf(const SettingsValues& values) {
  switch (values.f_display_type) {
    case 1: return FilesForm::AccessTree;
    case 2: return FilesForm::RightsDump;
    default: return FilesForm::SizePerUser;
  }
}

std::span<const ColumnSpec> columnSpecs(DisplayType type, FilesForm filesForm) {
  const DisplayTraits& traits = traitsOf(type);
  if (traits.rightsDumpColumns.empty()) return traits.columns;  // a list of one form
  switch (filesForm) {
    case FilesForm::SizePerUser: return traits.columns;
    case FilesForm::RightsDump: return traits.rightsDumpColumns;
    case FilesForm::AccessTree: break;  // a tree
  }
  return {};
}

std::vector<ColumnLayout> columnLayout(DisplayType type, const SettingsValues& values) {
  std::vector<ColumnLayout> layout;
  for (const ColumnSpec& column : columnSpecs(type, filesFormOf(values))) {
    const bool shown = column.setting == nullptr || values.*column.setting == 1;
    layout.push_back({std::string(column.header), shown ? column.width : 0});
  }
  return layout;
}

bool hasColumnSet(DisplayType type, const SettingsValues& values) {
  return !columnSpecs(type, filesFormOf(values)).empty();
}

}  // namespace display
