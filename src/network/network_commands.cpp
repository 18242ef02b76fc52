#include "network/network_commands.h"

#include "window/command_ids.h"
#include "window/command_table.h"

namespace network {

using display::DisplayType;
using namespace window;

void registerCommands(CommandTable& table) {
  // Properties of a tree node is the node's pop-up menu, which knows what
  // the node is. The menus grey the item on this display all the same: the
  // pop-up is reached by the right button.
  table.add({.id = kIdPropertiesCyclic,
             .display = DisplayType::Network,
             .action = [](WindowContext& c) { c.showContextMenu(); },
             .enabled = [](const WindowContext&) { return false; }});
}

}  // namespace network
