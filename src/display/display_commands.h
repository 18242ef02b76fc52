#pragma once
// The display's own commands in the window's command table: File > Copy to
// clipboard and Print (Ctrl+P; no menu item offers it).

namespace window {
class CommandTable;
}

namespace display {

void registerCommands(window::CommandTable& table);

}  // namespace display
