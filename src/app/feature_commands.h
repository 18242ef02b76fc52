#pragma once
// Every feature folder's commands, registered into the window's table. A
// new folder adds one line here; a new dialog in an existing folder is
// registered by its folder and needs nothing here.

namespace window {
class CommandTable;
}

namespace app {

void registerFeatureCommands(window::CommandTable& table);

}  // namespace app
