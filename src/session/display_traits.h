#pragma once
// What each display type is: its tab, its result controls, its content, how a
// browse of it starts and ends, and what the File commands may do with it.
// One row per display type, so a new display is one new row rather than an
// edit of every place that asks about display types. Plain C++.

#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "session/column_sets.h"
#include "window/display_type.h"
#include "dlgthreads/worker_frame.h"
#include "settings/settings_values.h"

namespace session {
class DisplayContent;
}

namespace display {

// How a browse of the display starts.
enum class BrowseStart {
  Nothing,       // no worker yet: the browse starts nothing
  Worker,        // a worker thread gathers the records
  OnThisThread,  // gathered at once: the busy state begins and ends
};

// What Tools > Show columns does on the display.
enum class ColumnReset { None, ResetAndSetUp, RecordOnly };

using WorkerEntry = void (*)(std::shared_ptr<dlgthreads::WorkerBlock>);
// Makes what the display holds: its rows or tree and how they behave
// (session/display_contents.h).
using ContentMaker = std::unique_ptr<session::DisplayContent> (*)();

struct DisplayTraits {
  DisplayType type = DisplayType::None;
  std::string_view name{};      // tab text, database table suffix
  std::string_view statusName{};  // the word after "Browsing...."
  int tab = -1;                 // tab position; -1: no tab
  int windowCommand = 0;        // the Window menu item that selects the tab
  int toolbarImage = -1;        // the image of its Window button; -1: no button
  // The Window button shown pressed while the display is current when it
  // has none of its own (a command id); 0: none.
  int pressedButton = 0;
  int listControl = 0;          // result list control id; 0: none
  int treeControl = 0;          // result tree control id; 0: none
  // The Files form (f_display_type) that shows the tree instead of the
  // list; -1: the tree, if any, always shows.
  int treeForm = -1;
  ContentMaker content = nullptr;  // nullptr: the display holds nothing
  std::span<const ColumnSpec> columns{};  // the list's columns (Files: size per user)
  // Files: the columns of its rights-dump form (its access-rights form is a
  // tree); empty for a list of one form.
  std::span<const ColumnSpec> rightsDumpColumns{};
  bool columnsRemembered = false;  // columns set up once, kept across set-ups
  ColumnReset columnReset = ColumnReset::None;

  BrowseStart browse = BrowseStart::Nothing;
  std::optional<dlgthreads::WorkKind> work{};
  WorkerEntry worker = nullptr;
  // The only form (f_display_type) the worker runs in; -1: every form.
  int workerForm = -1;

  bool exportable = true;   // File > Export and Copy to clipboard offered
  bool listCopied = true;   // the clipboard and the print read its list
  bool propertiesOnDoubleClick = false;
  bool searchable = false;  // Find and Filter test its rows
  // Lists the domain's accounts (an import that changed any shows it again).
  bool listsAccounts = false;
  int settingsPage = 7;     // the settings sheet's page it opens on (7: General)
  // The display whose list an export writes (displays without an export
  // of their own export the Users list).
  DisplayType exportedAs = DisplayType::None;
};

// The tab text of a display type ("" for None).
std::string_view tabText(DisplayType type);
// The display type whose tab text is `text` exactly, else None.
DisplayType displayTypeFromTabText(std::string_view text);
// The word the busy state shows after "Browsing....".
std::string_view statusName(DisplayType type);

// The row of a display type; None gets an empty row.
const DisplayTraits& traitsOf(DisplayType type);
// The row whose worker family is `kind`, or nullptr.
const DisplayTraits* traitsOfWork(dlgthreads::WorkKind kind);
// Every row with a result control, in table order.
std::span<const DisplayTraits> allDisplayTraits();

// The control that shows the display under the settings (Files: the list,
// or the tree in the access-rights form); 0 for None.
int resultControlId(DisplayType type, const settings::SettingsValues& values);
// True when the display shows a tree under the settings.
bool showsTree(DisplayType type, const settings::SettingsValues& values);
// True when a browse of the display gathers anything under the settings, on
// a worker thread or at once on the thread that browses.
bool gathers(const DisplayTraits& traits, const settings::SettingsValues& values);
// True when a browse of the display starts its worker under the settings.
bool startsWorker(const DisplayTraits& traits, const settings::SettingsValues& values);
// The command of the Window button pressed while the display is current.
int pressedWindowButton(DisplayType type);

}  // namespace display
