#include "display/display_commands.h"

#include "display/clipboard_copy.h"
#include "session/display_traits.h"
#include "display/print_display.h"
#include "resources/strings.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace display {

void registerCommands(window::CommandTable& table) {
  table.add({.id = window::kIdCopyToClipboard,
             .action = [](window::WindowContext& c) { copyToClipboard(c.views()); },
             .enabled = [](const window::WindowContext& c) {
               return traitsOf(c.displayType()).exportable;
             },
             .placement = window::Placement{.menu = window::MenuPlace{window::Menu::File, 0, 10},
                                            .text = "&Copy to clipboard",
                                            .status = res::str(window::kIdCopyToClipboard)}});
  table.add({.id = window::kIdPrint,
             .action = [](window::WindowContext& c) {
               // A long print ends long after the command: say how it ended.
               if (const std::string note = printedNote(printDisplay(c.views(), c.printer()));
                   !note.empty())
                 c.showStatusNote(note);
             },
             // No menu item: a hidden button, reached by the print key.
             .placement = window::Placement{
                 .tool = window::ToolPlace{.section = 0, .order = 30, .image = 2, .hidden = true},
                 .status = res::str(window::kIdPrint)}});
}

}  // namespace display
