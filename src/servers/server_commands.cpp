#include "servers/server_commands.h"

#include "window/command_ids.h"
#include "window/command_table.h"

namespace servers {

using display::DisplayType;
using namespace window;

void registerCommands(CommandTable& table) {
  // Properties opens the server information dialog for each selected
  // server once it is built; until then it is only offered.
  table.add({.id = kIdPropertiesCyclic,
             .display = DisplayType::Servers,
             .action = [](WindowContext&) {}});
}

}  // namespace servers
