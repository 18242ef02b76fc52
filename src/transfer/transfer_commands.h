#pragma once
// The transfer folder's commands in the window's command table: File >
// Import and File > Export.

namespace window {
class CommandTable;
}

namespace transfer {

void registerCommands(window::CommandTable& table);

}  // namespace transfer
