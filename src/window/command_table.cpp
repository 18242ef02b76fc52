#include "window/command_table.h"

#include <algorithm>
#include <tuple>

namespace window {

bool CommandTable::add(Command command) {
  const bool taken = std::ranges::any_of(m_commands, [&](const Command& c) {
    return c.id == command.id && c.display == command.display;
  });
  if (taken || !command.action ||
      (command.placement && !placeable(command.id, *command.placement))) {
    m_refused.push_back(command.id);
    return false;
  }
  if (command.placement) m_placed.push_back({command.id, std::move(*command.placement)});
  command.placement.reset();
  m_commands.push_back(std::move(command));
  return true;
}

bool CommandTable::place(int id, Placement placement) {
  if (!placeable(id, placement)) {
    m_refused.push_back(id);
    return false;
  }
  m_placed.push_back({id, std::move(placement)});
  return true;
}

bool CommandTable::placeable(int id, const Placement& placement) const {
  if (!placement.menu && !placement.tool) return false;
  if (placement.menu && placement.text.empty()) return false;
  return std::ranges::none_of(m_placed, [&](const Placed& p) {
    const Placement& other = p.placement;
    const bool sameMenuPlace = placement.menu && other.menu &&
                               placement.menu->menu == other.menu->menu &&
                               placement.menu->section == other.menu->section &&
                               placement.menu->order == other.menu->order;
    const bool sameToolPlace = placement.tool && other.tool &&
                               placement.tool->section == other.tool->section &&
                               placement.tool->order == other.tool->order;
    return p.id == id || sameMenuPlace || sameToolPlace;
  });
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

std::vector<MenuRow> CommandTable::menu(Menu which) const {
  std::vector<const Placed*> items;
  for (const Placed& p : m_placed)
    if (p.placement.menu && p.placement.menu->menu == which) items.push_back(&p);
  std::ranges::sort(items, {}, [](const Placed* p) {
    return std::tuple(p->placement.menu->section, p->placement.menu->order);
  });
  std::vector<MenuRow> rows;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const Placement& placement = items[i]->placement;
    if (i > 0 && items[i - 1]->placement.menu->section != placement.menu->section)
      rows.push_back({});
    rows.push_back({items[i]->id, placement.text, placement.status});
  }
  return rows;
}

std::vector<ToolRow> CommandTable::toolbar() const {
  std::vector<const Placed*> buttons;
  for (const Placed& p : m_placed)
    if (p.placement.tool) buttons.push_back(&p);
  std::ranges::sort(buttons, {}, [](const Placed* p) {
    return std::tuple(p->placement.tool->section, p->placement.tool->order);
  });
  std::vector<ToolRow> rows;
  for (std::size_t i = 0; i < buttons.size(); ++i) {
    const ToolPlace& tool = *buttons[i]->placement.tool;
    if (i == 0 || buttons[i - 1]->placement.tool->section != tool.section) rows.push_back({});
    rows.push_back(
        {buttons[i]->id, tool.image, buttons[i]->placement.status, tool.checkable, tool.hidden});
  }
  return rows;
}

}  // namespace window
