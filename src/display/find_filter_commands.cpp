#include "display/find_filter_commands.h"

#include <QTableView>
#include <memory>

#include "display/dialog_owner.h"
#include "session/display_traits.h"
#include "display/display_views.h"
#include "display/find_filter.h"
#include "display/search_dialog.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace display {
namespace {

using window::WindowContext;

constexpr const char* kTreeText = "Tree views cannot currently be searched or filtered.";
constexpr const char* kNotFoundText = "Search Text was not found.";
constexpr const char* kFindUnsupported = "Searching this tab is not yet supported";
constexpr const char* kFilterUnsupported = "Filtering this tab is not yet supported";

// Find and Filter share the last search text for as long as the window
// runs; the command table is the window's, so this state is too. Each
// dialog otherwise opens afresh, searching all columns.
struct SearchState {
  std::string lastText;
};

void say(WindowContext& context, const char* text) {
  context.messages().ok(text, res::programTitle());
}

bool searchable(DisplayType type) { return traitsOf(type).searchable; }

// The list the command works on, or nullptr after saying why there is none.
QTableView* searchedList(WindowContext& context, const char* unsupported) {
  const DisplayType type = context.displayType();
  if (showsTree(type, context.settings())) {
    say(context, kTreeText);
    return nullptr;
  }
  QTableView* view = searchable(type) ? context.views().listView(type) : nullptr;
  if (view == nullptr || view->model() == nullptr) {
    say(context, unsupported);
    return nullptr;
  }
  view->setFocus();
  return view;
}

void find(WindowContext& context, SearchState& state) {
  QTableView* view = searchedList(context, kFindUnsupported);
  if (view == nullptr) return;
  FindDialog dialog({.text = state.lastText}, columnTitles(*view->model()), context.messages(),
                    dialogOwner(context.views()));
  if (context.dialogs().run(dialog) != QDialog::Accepted) return;
  const SearchFields& fields = dialog.fields();
  state.lastText = fields.text;
  if (fields.text.empty()) return;
  const dlgthreads::RecordMatcher matcher(fields.matchOptions());
  const std::optional<int> row = findRow(*view, matcher, findStart(*view, fields.startFromTop));
  if (!row) {
    say(context, kNotFoundText);
    return;
  }
  selectRow(*view, *row);
}

void filter(WindowContext& context, SearchState& state) {
  QTableView* view = searchedList(context, kFilterUnsupported);
  if (view == nullptr) return;
  FilterDialog dialog({.text = state.lastText}, columnTitles(*view->model()), context.messages(),
                      dialogOwner(context.views()));
  if (context.dialogs().run(dialog) != QDialog::Accepted) return;
  // An empty text is kept and used: it shows every record again.
  state.lastText = dialog.fields().text;
  const dlgthreads::RecordMatcher matcher(dialog.fields().matchOptions());
  const std::optional<std::size_t> remaining = filterList(*view, matcher);
  if (!remaining) {
    say(context, kFilterUnsupported);
    return;
  }
  context.setCountText(context.displayType(), std::to_string(*remaining));
}

}  // namespace

void registerFindFilterCommands(window::CommandTable& table) {
  auto state = std::make_shared<SearchState>();
  using window::Menu, window::MenuPlace, window::Placement, window::ToolPlace;
  table.add({.id = window::kIdFind,
             .action = [state](WindowContext& c) { find(c, *state); },
             .placement = Placement{.menu = MenuPlace{Menu::Edit, 2, 10},
                                    .tool = ToolPlace{3, 10, 17},
                                    .text = "&Find in current window",
                                    .status = res::str(window::kIdFind)}});
  table.add({.id = window::kIdFilter,
             .action = [state](WindowContext& c) { filter(c, *state); },
             .placement = Placement{.menu = MenuPlace{Menu::Edit, 2, 20},
                                    .tool = ToolPlace{3, 20, 18},
                                    .text = "F&ilter",
                                    .status = res::str(window::kIdFilter)}});
}

}  // namespace display
