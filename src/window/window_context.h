#pragma once
// What commands and dialogs may use of the main window. Feature folders
// receive a WindowContext instead of the window, so they depend on this
// interface only and the window can change without touching them. Plain C++:
// the Qt types a few commands need (views, dialogs, printers) are only named.

#include <string>
#include <string_view>
#include <vector>

#include "window/display_type.h"
#include "settings/remembered_choices.h"
#include "settings/settings_values.h"
#include "window/selection.h"

namespace display {
class DisplayViews;
}
namespace ui {
class DialogRunner;
class FileChooser;
class Messages;
class PrintChooser;
}  // namespace ui

namespace window {

class WindowContext {
 public:
  virtual ~WindowContext() = default;

  // The browse server: the server combo's text, leading backslashes kept.
  virtual std::string browseServer() const = 0;
  // The settings the window holds for the whole run; a dialog that changes
  // them changes them here.
  virtual settings::SettingsValues& settings() = 0;
  virtual const settings::SettingsValues& settings() const = 0;
  // The display type of the selected tab (None when it matches none).
  virtual display::DisplayType displayType() const = 0;
  // The selected rows of the current display, top to bottom as shown.
  virtual Selection selection() const = 0;
  // The server a Servers or Network pop-up command acts on, as the pop-up
  // set it; the pop-up's refusal text when its node names no server.
  virtual const std::string& popupTarget() const = 0;

  virtual ui::Messages& messages() = 0;
  virtual ui::FileChooser& files() = 0;
  virtual ui::DialogRunner& dialogs() = 0;
  virtual ui::PrintChooser& printer() = 0;
  // The result lists and trees, for commands that read a display as the
  // user sees it (export, clipboard, print).
  virtual display::DisplayViews& views() = 0;

  // The user's last choices (the export's folder and format), which a
  // command may read and update; nullptr where nothing is remembered.
  virtual settings::RememberedChoices* rememberedChoices() { return nullptr; }

  // A short note on what a command did (where an export went), in the
  // status bar's first part until the next browse; no note by default.
  virtual void showStatusNote(std::string_view /*note*/) {}

  // Browses the current display again, after a change made by a command.
  virtual void refresh() = 0;
  // The count text of a display (the status bar's third part), after a
  // command changed what its list shows (a filter).
  virtual void setCountText(display::DisplayType type, std::string count) = 0;
  // The settings sheet's OK: the settings() were changed and saved; the
  // lists of `rebuilt` get their columns anew at their next set-up, and the
  // current display is set up again.
  virtual void settingsApplied(const std::vector<display::DisplayType>& rebuilt) = 0;
  // Opens the current display's pop-up menu at the cursor.
  virtual void showContextMenu() = 0;

  // The server combo's entries in order (the user's list of servers to
  // browse); none by default.
  virtual std::vector<std::string> serverList() const { return {}; }
  // Replaces the combo's entries, selects `selected` (-1: none) and saves
  // the list as `BrowseServers`.
  virtual void setServerList(const std::vector<std::string>& /*servers*/, int /*selected*/) {}
};

}  // namespace window
