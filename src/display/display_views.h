#pragma once
// The result lists and trees of the window, as the commands that read a
// display as shown (export, clipboard copy, print) and the fill reach them.
// The window implements this; tests use a recording stand-in. Everything
// here is called on the GUI thread.

#include "window/display_type.h"
#include "settings/settings_values.h"

class QTableView;
class QTreeWidget;

namespace ui {
class Messages;
}

namespace display {

class DisplayViews {
 public:
  virtual ~DisplayViews() = default;

  // The display type of the selected tab (None when it matches none).
  virtual DisplayType currentDisplayType() const = 0;
  // The settings the window holds for the whole run.
  virtual const settings::SettingsValues& settingsValues() const = 0;
  // The result list of a display type (Files: its list forms), or nullptr
  // when the display has none.
  virtual QTableView* listView(DisplayType type) = 0;
  // The result tree of Network, Performance and Files (access rights
  // form), or nullptr.
  virtual QTreeWidget* treeView(DisplayType type) = 0;

  virtual ui::Messages& messages() = 0;
};

}  // namespace display
