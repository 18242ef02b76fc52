#pragma once
// Edit > Find in current window and Edit > Filter, for every display.

namespace window {
class CommandTable;
}

namespace display {

void registerFindFilterCommands(window::CommandTable& table);

}  // namespace display
