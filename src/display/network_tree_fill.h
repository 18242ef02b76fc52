#pragma once
// The Network tree from the walk's lines: providers under a "root" item,
// domains under their provider, servers under their domain and shares under
// their server, each kind only when its display setting is on.

#include <string_view>
#include <vector>

#include "settings/settings_values.h"

class QTreeWidget;

namespace display {

// Fills `tree` from `lines` (exactly those; the walk's area may be full, so
// there is no empty line to stop at). Returns the items made.
int fillNetworkTree(QTreeWidget& tree, const std::vector<std::string>& lines,
                    const settings::SettingsValues& settings);
// The Performance tree: every line, under a root always made; the root, the
// last provider and the last domain expanded.
int fillPerformanceTree(QTreeWidget& tree, const std::vector<std::string>& lines);

}  // namespace display
