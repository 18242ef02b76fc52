#pragma once
// The Network display's commands in the window's command table.

namespace window {
class CommandTable;
}

namespace network {

void registerCommands(window::CommandTable& table);

}  // namespace network
