#include "options/settings_command.h"

#include <algorithm>

#include "display/dialog_owner.h"
#include "resources/strings.h"
#include "options/extra_entries_dialog.h"
#include "options/settings_sheet.h"
#include "settings/settings_store.h"
#include "ui/dialog_runner.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace settings::pages {

using display::DisplayType;

std::string withFinalBackslash(std::string path) {
  if (path.empty() || path.back() != '\\') path += '\\';
  return path;
}

void settingsCommand(window::WindowContext& context) {
  auto extraEntries = [&context] {
    ExtraEntriesDialog dialog(context.messages(), display::dialogOwner(context.views()));
    context.dialogs().run(dialog);
  };
  SettingsSheet sheet(context.settings(), SettingsSheet::startPageOf(context.displayType()),
                      context.messages(), extraEntries, display::dialogOwner(context.views()));
  if (context.dialogs().run(sheet) != QDialog::Accepted) return;
  SettingsValues values = sheet.values();
  values.f_root_path = withFinalBackslash(std::move(values.f_root_path));
  // Rows gathered under one Files form mean nothing under another.
  const bool filesFormChanged = values.f_display_type != context.settings().f_display_type;
  context.settings() = values;
  SettingsStore(context.messages(), res::programTitle()).save(values);
  std::vector<DisplayType> rebuilt = sheet.changedDisplays();
  if (filesFormChanged && std::ranges::find(rebuilt, DisplayType::Files) == rebuilt.end())
    rebuilt.push_back(DisplayType::Files);
  context.settingsApplied(rebuilt);
  if (filesFormChanged) context.setCountText(DisplayType::Files, "0");
  if (values.always_browse == 1) context.refresh();
}

void registerCommands(window::CommandTable& table) {
  table.add({.id = window::kIdSettings,
             .action = settingsCommand,
             .placement = window::Placement{.menu = window::MenuPlace{window::Menu::Tools, 2, 20},
                                            .text = "&Settings",
                                            .status = res::str(window::kIdSettings)}});
}

}  // namespace settings::pages
