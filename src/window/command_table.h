#pragma once
// The window's command table. Each feature folder registers its commands
// here at start-up (its folder's registerCommands), the window registers its
// own (browse, tabs, help, exit) the same way, and the menus, toolbar, keys
// and pop-ups run commands only through the table. A command brings its own
// place in the menus and on the toolbar and its texts, so the window builds
// both from what was registered:
//
//   table.add({.id = kIdExport,
//              .action = [](WindowContext& c) { exportCommand(c.views(), c.files()); },
//              .enabled = [](const WindowContext& c) { return exportable(c.displayType()); },
//              .placement = Placement{.menu = MenuPlace{Menu::File, 0, 30},
//                                     .tool = ToolPlace{0, 20, 0},
//                                     .text = "&Export",
//                                     .status = "Export the current display"}});
//
// A command may belong to one display type: Add on the Users display and Add
// on the Groups display are two registrations of one id, by two folders, and
// the current display picks the one that runs. Such a shared id is placed
// once, by whoever owns the shared item (place()). An id nobody registered
// for the current display is greyed and does nothing.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "window/display_type.h"
#include "window/window_context.h"

namespace window {

// The menus of the menu bar, in the bar's order.
enum class Menu { File, Edit, Tools, Window, Help };

// Where an item stands in its menu: the items of one section stand together,
// sorted by `order`, and a separator stands between two sections. Orders
// are spaced (10, 20, ...) so an item can go between two without moving them.
struct MenuPlace {
  Menu menu = Menu::File;
  int section = 0;
  int order = 0;
};

// Where a button stands on the toolbar: sections and orders as in a menu,
// and every section begins with a separator.
struct ToolPlace {
  int section = 0;
  int order = 0;
  int image = 0;           // the toolbar bitmap's image
  bool checkable = false;  // pressed while its display is shown
  bool hidden = false;     // reached by its key only
};

// How the window offers a command: a menu item, a toolbar button or both.
struct Placement {
  std::optional<MenuPlace> menu{};
  std::optional<ToolPlace> tool{};
  std::string text{};    // the menu text, '&' before its letter, "\tKey" for a key shown
  std::string status{};  // status part 0 while the item is highlighted; the button's tool tip
};

struct Command {
  int id = 0;
  // The display the command acts on; nullopt: every display without a
  // registration of its own.
  std::optional<display::DisplayType> display{};
  std::function<void(WindowContext&)> action{};
  // Whether the menus and toolbar offer the command; empty: always.
  std::function<bool(const WindowContext&)> enabled{};
  // Where the window offers it; none: keys and pop-ups only, or placed by
  // the owner of a shared item.
  std::optional<Placement> placement{};
};

// A menu's or the toolbar's row as the window builds it; id 0 is a separator.
struct MenuRow {
  int id = 0;
  std::string text{};
  std::string status{};
};
struct ToolRow {
  int id = 0;
  int image = -1;
  std::string status{};
  bool checkable = false;
  bool hidden = false;
};

class CommandTable {
 public:
  // False, and nothing changes, when the id is already registered for the
  // same display, when there is nothing to run, or when its placement is
  // refused (see place()): two features claiming one command or one place
  // is a wiring fault that must not be settled by registration order.
  bool add(Command command);
  // Places an id whose command is registered per display by several
  // folders. False, and nothing changes, when the id is placed already, a
  // place it asks for is taken, or it asks for no place (a menu place
  // needs a text).
  bool place(int id, Placement placement);

  // The registration that serves `id` on display `type`, or nullptr.
  const Command* find(int id, display::DisplayType type) const;
  bool registered(int id, display::DisplayType type) const { return find(id, type) != nullptr; }

  // What the menus and toolbar show for the command on the current display.
  bool enabled(int id, const WindowContext& context) const;
  // Runs the command for the current display; false when none is registered.
  bool run(int id, WindowContext& context) const;

  // The menu's items in their order, separators between sections.
  std::vector<MenuRow> menu(Menu which) const;
  // The toolbar's buttons in their order, a separator before each section.
  std::vector<ToolRow> toolbar() const;
  // The ids of registrations and placements that were refused, in the
  // order they came: the program's own must leave this empty.
  const std::vector<int>& refused() const { return m_refused; }

 private:
  struct Placed {
    int id;
    Placement placement;
  };
  bool placeable(int id, const Placement& placement) const;

  std::vector<Command> m_commands;
  std::vector<Placed> m_placed;
  std::vector<int> m_refused;
};

}  // namespace window
