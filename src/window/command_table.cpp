#include "window/command_table.h"

#include <algorithm>

namespace window {

bool CommandTable::add(Command command) {
  const bool taken = std::ranges::any_of(m_commands, [&](const Command& c) {
    return c.id == command.id && c.display == command.display;
  });
  if (taken || !command.action) return false;
  m_commands.push_back(std::move(command));
  return true;
}

const Command* CommandTable::find(int id, display::DisplayType type) const {
  const Command* general = nullptr;
  for (const Command& c : m_commands) {
    if (c.id != id) continue;
    if (c.display == type) return &c;
    if (!c.display) general = &c;
  }
  return general;
}

bool CommandTable::enabled(int id, const WindowContext& context) const {
  const Command* command = find(id, context.displayType());
  return command && (!command->enabled || command->enabled(context));
}

bool CommandTable::run(int id, WindowContext& context) const {
  const Command* command = find(id, context.displayType());
  if (!command) return false;
  // A copy: the action may register or open things that outlive this call.
  const auto action = command->action;
  action(context);
  return true;
}

}  // namespace window
