#include "display/display_commands.h"

#include "display/clipboard_copy.h"
#include "session/display_traits.h"
#include "display/print_display.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace display {

void registerCommands(window::CommandTable& table) {
  table.add({.id = window::kIdCopyToClipboard,
             .action = [](window::WindowContext& c) { copyToClipboard(c.views()); },
             .enabled = [](const window::WindowContext& c) {
               return traitsOf(c.displayType()).exportable;
             }});
  table.add({.id = window::kIdPrint,
             .action = [](window::WindowContext& c) {
               // A long print ends long after the command: say how it ended.
               if (const std::string note = printedNote(printDisplay(c.views(), c.printer()));
                   !note.empty())
                 c.showStatusNote(note);
             }});
}

}  // namespace display
