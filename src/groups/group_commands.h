#pragma once
// The Groups display's commands in the window's command table.

namespace window {
class CommandTable;
}

namespace groups {

void registerCommands(window::CommandTable& table);

}  // namespace groups
