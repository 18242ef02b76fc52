#include "groups/group_commands.h"

#include "groups/group_admin.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace groups {

using display::DisplayType;
using namespace window;

void registerCommands(CommandTable& table) {
  table.add({.id = kIdPropertiesCyclic, .display = DisplayType::Groups, .action = editGroups});
  table.add({.id = kIdAdd, .display = DisplayType::Groups, .action = addGroup});
  table.add({.id = kIdCopy, .display = DisplayType::Groups, .action = copyGroup});
  table.add({.id = kIdDelete, .display = DisplayType::Groups, .action = deleteGroups});
}

}  // namespace groups
