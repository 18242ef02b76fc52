#include "servers/server_commands.h"

#include <QDialog>

#include "display/dialog_owner.h"
#include "platform/netapi.h"
#include "resources/strings.h"
#include "servers/add_server_dialog.h"
#include "servers/remove_server_dialog.h"
#include "servers/server_info_dialog.h"
#include "servers/server_list.h"
#include "servers/share_manager_dialog.h"
#include "servers/unhide_server_dialog.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace servers {

using display::DisplayType;
using namespace window;

namespace {

void serverInformation(WindowContext& c, const std::string& server) {
  ServerInfoDialog dialog(server, c.messages(), display::dialogOwner(c.views()));
  if (!dialog.load()) return;
  c.dialogs().run(dialog);
}

// One dialog after the other, for the selected servers in list order.
void selectedServersInformation(WindowContext& c) {
  for (const std::string& name : c.selection().names) serverInformation(c, "\\\\" + name);
}

std::string primaryController() {
  std::string pdc;
  if (platform::NetGetDCName({}, {}, &pdc) != platform::NERR_Success) pdc.clear();
  return pdc;
}

void addServer(WindowContext& c) {
  AddServerDialog dialog(display::dialogOwner(c.views()));
  if (c.dialogs().run(dialog) != QDialog::Accepted) return;
  const std::string name = dialog.name();
  if (name.empty()) return;
  std::vector<std::string> list = c.serverList();
  if (!appendServer(list, name)) {
    c.messages().ok(kListFullText, res::programTitle(), ui::Icon::Warning);
    return;
  }
  c.setServerList(list, static_cast<int>(list.size()) - 1);
}

void addPopupTarget(WindowContext& c) {
  const std::string target = c.popupTarget();
  std::vector<std::string> list = c.serverList();
  if (target.empty() || listHoldsPrefix(list, target)) return;
  if (!appendServer(list, target)) {
    c.messages().ok(kListFullText, res::programTitle(), ui::Icon::Warning);
    return;
  }
  c.setServerList(list, static_cast<int>(list.size()) - 1);
  c.messages().ok("The selected server has been successfully\nadded to the list of servers.",
                  res::programTitle());
}

// On the Network display the item follows the tree: offered for a server
// node that no entry of the list begins with yet.
bool addServerOffered(const WindowContext& c) {
  if (c.displayType() != DisplayType::Network) return true;
  const Selection selected = c.selection();
  if (selected.empty()) return false;
  const std::string& node = selected.names.front();
  const bool server = node.find("\\\\") != std::string::npos && node.find('\\', 3) == std::string::npos;
  return server && !listHoldsPrefix(c.serverList(), node);
}

void removeServers(WindowContext& c) {
  const std::string pdc = primaryController();
  const std::vector<std::string> before = c.serverList();
  RemoveServerDialog dialog(before, pdc, c.messages(), display::dialogOwner(c.views()));
  const bool ok = c.dialogs().run(dialog) == QDialog::Accepted;
  const std::vector<std::string>& list = ok ? dialog.servers() : before;
  c.setServerList(list, firstBeginningWith(list, pdc));
}

void unhideServer(WindowContext& c) {
  UnhideServerDialog dialog(c.messages(), display::dialogOwner(c.views()));
  c.dialogs().run(dialog);
}

void manageShares(WindowContext& c) {
  ShareManagerDialog dialog(c.browseServer(), c.messages(), c.dialogs(),
                            display::dialogOwner(c.views()));
  if (!dialog.load()) return;
  c.dialogs().run(dialog);
}

}  // namespace

void registerCommands(CommandTable& table) {
  table.add({.id = kIdPropertiesCyclic,
             .display = DisplayType::Servers,
             .action = selectedServersInformation});
  table.add({.id = kIdPopupProperties,
             .action = [](WindowContext& c) { serverInformation(c, c.popupTarget()); }});
  table.add({.id = kIdPopupAddToServerList, .action = addPopupTarget});
  // Tools' server items; Show columns, the window's own, stands between
  // Remove and Manage Shares.
  auto toolsItem = [](int order, const char* text, int id) {
    return Placement{
        .menu = MenuPlace{Menu::Tools, 1, order}, .text = text, .status = res::str(id)};
  };
  table.add({.id = kIdAddServer,
             .action = addServer,
             .enabled = addServerOffered,
             .placement = toolsItem(10, "&Add server to list", kIdAddServer)});
  table.add({.id = kIdRemoveServer,
             .action = removeServers,
             .placement = toolsItem(20, "&Remove server from list", kIdRemoveServer)});
  table.add({.id = kIdUnhideServer,
             .action = unhideServer,
             .placement = toolsItem(50, "&Unhide Server", kIdUnhideServer)});
  table.add({.id = kIdManageShares,
             .action = manageShares,
             .placement = toolsItem(40, "&Manage Shares", kIdManageShares)});
}

}  // namespace servers
