#pragma once
// The window's command table. Each feature folder registers its commands
// here at start-up (its folder's registerCommands), the window registers its
// own (browse, tabs, help, exit) the same way, and the menus, toolbar, keys
// and pop-ups run commands only through the table:
//
//   table.add({.id = kIdExport,
//              .action = [](WindowContext& c) { exportCommand(c.views(), c.files()); },
//              .enabled = [](const WindowContext& c) { return exportable(c.displayType()); }});
//
// A command may belong to one display type: Add on the Users display and Add
// on the Groups display are two registrations of one id, by two folders, and
// the current display picks the one that runs. An id nobody registered for
// the current display is greyed and does nothing.

#include <functional>
#include <optional>
#include <vector>

#include "window/display_type.h"
#include "window/window_context.h"

namespace window {

struct Command {
  int id = 0;
  // The display the command acts on; nullopt: every display without a
  // registration of its own.
  std::optional<display::DisplayType> display{};
  std::function<void(WindowContext&)> action{};
  // Whether the menus and toolbar offer the command; empty: always.
  std::function<bool(const WindowContext&)> enabled{};
};

class CommandTable {
 public:
  // False, and nothing changes, when the id is already registered for the
  // same display: two features claiming one command is a wiring fault that
  // must not be settled by registration order.
  bool add(Command command);

  // The registration that serves `id` on display `type`, or nullptr.
  const Command* find(int id, display::DisplayType type) const;
  bool registered(int id, display::DisplayType type) const { return find(id, type) != nullptr; }

  // What the menus and toolbar show for the command on the current display.
  bool enabled(int id, const WindowContext& context) const;
  // Runs the command for the current display; false when none is registered.
  bool run(int id, WindowContext& context) const;

 private:
  std::vector<Command> m_commands;
};

}  // namespace window
