#pragma once
// Tools > Settings (and the pop-ups' "&Settings"): the settings sheet.

#include <string>

namespace window {
class CommandTable;
class WindowContext;
}  // namespace window

namespace settings::pages {

void registerCommands(window::CommandTable& table);
void settingsCommand(window::WindowContext& context);

// A root path as it is kept: always ending in a backslash.
std::string withFinalBackslash(std::string path);

}  // namespace settings::pages
