#include "groups/group_commands.h"

#include "window/command_ids.h"
#include "window/command_table.h"

namespace groups {

using display::DisplayType;
using namespace window;

void registerCommands(CommandTable& table) {
  // The group dialogs are not built yet: the edit commands are registered
  // for their enabling on this display and do nothing when run.
  const auto notYet = [](WindowContext&) {};
  for (int id : {kIdPropertiesCyclic, kIdAdd, kIdCopy, kIdDelete})
    table.add({.id = id, .display = DisplayType::Groups, .action = notYet});
}

}  // namespace groups
