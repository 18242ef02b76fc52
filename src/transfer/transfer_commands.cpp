#include "transfer/transfer_commands.h"

#include "session/display_traits.h"
#include "transfer/export_display.h"
#include "transfer/import_command.h"
#include "resources/strings.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace transfer {

void registerCommands(window::CommandTable& table) {
  using window::Menu, window::MenuPlace, window::Placement, window::ToolPlace;
  table.add({.id = window::kIdImport,
             .action = importCommand,
             .placement = Placement{.menu = MenuPlace{Menu::File, 0, 20},
                                    .tool = ToolPlace{0, 10, 1},
                                    .text = "&Import",
                                    .status = res::str(window::kIdImport)}});
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
             },
             .placement = Placement{.menu = MenuPlace{Menu::File, 0, 30},
                                    .tool = ToolPlace{0, 20, 0},
                                    .text = "&Export",
                                    .status = res::str(window::kIdExport)}});
}

}  // namespace transfer
