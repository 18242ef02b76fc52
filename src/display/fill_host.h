#pragma once
// What the result display needs of the main window. The window implements
// this; tests use a recording stand-in. Everything here is called on the GUI
// thread.

#include <string>

#include "display/display_type.h"
#include "settings/settings_values.h"

class QTableView;
class QTreeWidget;

namespace ui {
class Messages;
}

namespace display {

// The two per-display texts: status bar part 2 (server) and part 3 (count).
struct DisplayTexts {
  std::string server;
  std::string count;
  bool operator==(const DisplayTexts&) const = default;
};

class FillHost {
 public:
  virtual ~FillHost() = default;

  // The display type of the selected tab (None when it matches none).
  virtual DisplayType currentDisplayType() const = 0;
  // The settings the window holds for the whole run.
  virtual const settings::SettingsValues& settingsValues() const = 0;
  // The result list of a display type (Files: the list form), or nullptr
  // when the window has none for it.
  virtual QTableView* listView(DisplayType type) = 0;
  // The result tree of Network, Performance and Files (access tree form),
  // or nullptr.
  virtual QTreeWidget* treeView(DisplayType type) = 0;

  // The per-display texts the window keeps for each display type.
  virtual void setDisplayTexts(DisplayType type, DisplayTexts texts) = 0;
  virtual DisplayTexts displayTexts(DisplayType type) const = 0;
  // Puts texts into status parts 2 and 3.
  virtual void showStatusTexts(const DisplayTexts& texts) = 0;

  // Ends the busy state of the browse controller.
  virtual void endBusy() = 0;
  // Enables the first item of the Edit menu again; false when the menu
  // cannot be reached.
  virtual bool enableFirstEditItem() = 0;

  virtual ui::Messages& messages() = 0;
};

}  // namespace display
