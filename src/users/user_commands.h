#pragma once
// The Users display's commands in the window's command table.

namespace window {
class CommandTable;
}

namespace users {

void registerCommands(window::CommandTable& table);

}  // namespace users
