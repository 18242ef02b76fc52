#pragma once
// The column set of every result list: header texts, widths and the setting
// that shows each column. A hidden column keeps its index with width 0, so
// records, sorting, find, filter and export share one column numbering per
// display type. Plain C++: export and clipboard read these too.

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "window/display_type.h"
#include "settings/settings_values.h"

namespace display {

struct ColumnSpec {
  std::string_view header;
  int width = 0;  // pixels when shown
  // The flag that shows the column; nullptr for a column that is always shown.
  settings::Word settings::SettingsValues::*setting = nullptr;
};

// A column as the list shows it under the current settings.
struct ColumnLayout {
  std::string header;
  int width = 0;  // 0 when its setting is off
  bool hidden() const { return width == 0; }
};

// The forms of the Files display, by `f_display_type`.
enum class FilesForm : settings::Word { SizePerUser = 0, AccessTree = 1, RightsDump = 2 };
// The form `f_display_type` names (any value not listed: size per user).
FilesForm filesFormOf(const settings::SettingsValues& values);

// Fixed column counts the clipboard copy and export rely on.
inline constexpr int kUsersColumnCount = 22;
inline constexpr int kGroupsColumnCount = 3;
inline constexpr int kServersColumnCount = 33;
inline constexpr int kQuotasColumnCount = 5;
inline constexpr int kTrustsColumnCount = 5;

// The widths above were made for a font whose characters average this many
// pixels. A list in a larger font widens each column in proportion, so the
// texts the widths were meant to hold still fit; a smaller font keeps them.
inline constexpr int kDesignCharWidth = 5;
constexpr int scaledColumnWidth(int width, int averageCharWidth) {
  if (averageCharWidth <= kDesignCharWidth) return width;
  return (width * averageCharWidth + kDesignCharWidth / 2) / kDesignCharWidth;
}

// The column set of a list. Files picks its list form by `filesForm`
// (the access tree form has no list). Network, Performance and Licenses
// have no column set: their result controls are trees or stay empty.
std::span<const ColumnSpec> columnSpecs(DisplayType type,
                                        FilesForm filesForm = FilesForm::SizePerUser);

// The column set of the list of `type` resolved against `values` (Files by
// `f_display_type`).
std::vector<ColumnLayout> columnLayout(DisplayType type, const settings::SettingsValues& values);

// True when the display type shows its results in a list with columns
// (false for the trees and for Files in its access tree form).
bool hasColumnSet(DisplayType type, const settings::SettingsValues& values);

}  // namespace display
