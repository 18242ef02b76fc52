#include "transfer/transfer_commands.h"

#include "session/display_traits.h"
#include "transfer/export_display.h"
#include "transfer/import_command.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace transfer {

void registerCommands(window::CommandTable& table) {
  table.add({.id = window::kIdImport, .action = importCommand});
  table.add({.id = window::kIdExport,
             .action =
                 [](window::WindowContext& c) {
                   const auto result =
                       exportCommand(c.views(), c.files(), c.rememberedChoices());
                   // No success box, but the user should see where the file went.
                   if (result && result->ok()) c.showStatusNote(exportedNote(result->path));
                 },
             .enabled = [](const window::WindowContext& c) {
               return display::traitsOf(c.displayType()).exportable;
             }});
}

}  // namespace transfer
