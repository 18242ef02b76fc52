#include "app/feature_commands.h"

#include "display/display_commands.h"
#include "display/find_filter_commands.h"
#include "groups/group_commands.h"
#include "network/network_commands.h"
#include "options/settings_command.h"
#include "quotas/quota_commands.h"
#include "servers/server_commands.h"
#include "transfer/transfer_commands.h"
#include "users/user_commands.h"

namespace app {

void registerFeatureCommands(window::CommandTable& table) {
  display::registerCommands(table);
  display::registerFindFilterCommands(table);
  transfer::registerCommands(table);
  users::registerCommands(table);
  groups::registerCommands(table);
  servers::registerCommands(table);
  network::registerCommands(table);
  quotas::registerCommands(table);
  settings::pages::registerCommands(table);
}

}  // namespace app
