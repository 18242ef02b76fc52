#pragma once
// The Servers display's commands and the server-list commands of the Servers
// and Network pop-ups in the window's command table.

namespace window {
class CommandTable;
}

namespace servers {

void registerCommands(window::CommandTable& table);

}  // namespace servers
