#include "users/user_commands.h"

#include "users/account_policy_command.h"
#include "users/user_properties_command.h"
#include "users/user_requests.h"
#include "resources/strings.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace users {

using display::DisplayType;
using namespace window;

void registerCommands(CommandTable& table) {
  table.add({.id = kIdCopy, .display = DisplayType::Users, .action = copyUser});
  table.add({.id = kIdDelete, .display = DisplayType::Users, .action = deleteUsers});
  table.add({.id = kIdAdd, .display = DisplayType::Users, .action = addUser});
  table.add({.id = kIdPropertiesCyclic, .display = DisplayType::Users, .action = editUsers});
  // One dialog for several accounts only makes sense for two or more.
  table.add({.id = kIdPropertiesCombined,
             .display = DisplayType::Users,
             .action = ShowUserPropertiesCombined,
             .enabled = [](const WindowContext& c) { return c.selection().size() >= 2; },
             .placement = Placement{.menu = MenuPlace{Menu::Edit, 0, 20},
                                    .text = "Properties (Co&mbined)",
                                    .status = res::str(kIdPropertiesCombined)}});
  // The policy belongs to the domain, not to a list: it opens from any display.
  table.add({.id = kIdAccountPolicies,
             .action = editAccountPolicy,
             .placement = Placement{.menu = MenuPlace{Menu::Tools, 2, 10},
                                    .text = "A&ccount Policies",
                                    .status = res::str(kIdAccountPolicies)}});
}

}  // namespace users
