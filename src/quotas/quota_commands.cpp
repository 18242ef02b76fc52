#include "quotas/quota_commands.h"

#include "display/dialog_owner.h"
#include "dlgthreads/quota_data.h"
#include "dlgthreads/quota_worker.h"
#include "quotas/quota_entries.h"
#include "quotas/quota_settings_dialog.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace quotas {

using display::DisplayType;
using namespace window;
using platform::ERROR_SUCCESS;
using platform::LONG;

namespace {

void quotaError(WindowContext& context, std::string text) {
  context.messages().ok(std::move(text), kQuotaErrorCaption, ui::Icon::Error);
}

bool runDialog(WindowContext& context, QuotaSettingsDialog& dialog) {
  return context.dialogs().run(dialog) == QDialog::Accepted;
}

void editOne(WindowContext& context, const std::string& server, const std::string& directory) {
  platform::RegKey root = connectQuotaRoot(server);
  if (!root) {
    context.messages().ok(dlgthreads::quotaConnectionMessage(server), res::programTitle());
    return;
  }
  LONG status = 0;
  platform::RegKey key = openDirectories(root, false, &status);
  if (!key) return;
  const std::optional<std::string> before = readEntry(key, directory, &status);
  if (!before) return;
  const std::uint32_t size = dlgthreads::parseQuotaData(directory, *before).size;
  QuotaSettingsDialog dialog({size, directory}, context.messages(),
                             display::dialogOwner(context.views()));
  if (!runDialog(context, dialog)) return;
  // The service rewrites the prefix while the dialog is open: write after
  // what it holds now, and never bring back an entry removed meanwhile.
  const std::optional<std::string> now = readEntry(key, directory, &status);
  if (!now) {
    quotaError(context, writeFailedMessage(status, directory));
    return;
  }
  status = writeEntry(key, directory, dlgthreads::editedQuotaData(*now, dialog.fields().size));
  if (status != ERROR_SUCCESS) quotaError(context, writeFailedMessage(status, directory));
}

}  // namespace

void addQuota(WindowContext& context) {
  QuotaSettingsDialog dialog({context.settings().q_default_quota_size, {}}, context.messages(),
                             display::dialogOwner(context.views()));
  if (!runDialog(context, dialog)) return;
  const std::string server = context.browseServer();
  platform::RegKey root = connectQuotaRoot(server);
  if (!root) {
    quotaError(context, dlgthreads::quotaConnectionMessage(server));
    return;
  }
  LONG status = 0;
  platform::RegKey key = openDirectories(root, true, &status);
  if (!key) {
    quotaError(context, "Error " + std::to_string(status) +
                            " creating Directories Remote\nRegistry key for Quotas.");
    return;
  }
  const QuotaFields& fields = dialog.fields();
  status = writeEntry(key, fields.directory, dlgthreads::newQuotaData(fields.size));
  if (status != ERROR_SUCCESS) quotaError(context, writeFailedMessage(status, fields.directory));
}

void editQuotas(WindowContext& context) {
  const std::string server = context.browseServer();
  for (const std::string& directory : context.selection().names)
    editOne(context, server, directory);
}

void deleteQuotas(WindowContext& context) {
  const std::string server = context.browseServer();
  for (const std::string& directory : context.selection().names) {
    const ui::Answer answer = context.messages().show(
        {"Are you sure use wish to delete\nthe quota on:\n" + directory + "  ?", "Deleting quota",
         ui::Buttons::YesNoCancel, ui::Icon::Question, ui::Answer::No});
    if (answer == ui::Answer::Cancel) return;
    if (answer != ui::Answer::Yes) continue;
    platform::RegKey root = connectQuotaRoot(server);
    if (!root) {
      context.messages().ok(dlgthreads::quotaConnectionMessage(server), res::programTitle());
      continue;
    }
    LONG status = 0;
    platform::RegKey key = openDirectories(root, false, &status);
    if (!key || platform::RegDeleteValue(key.get(), directory) != ERROR_SUCCESS)
      context.messages().ok("Quota could NOT be deleted.", res::programTitle(), ui::Icon::Error);
  }
}

void registerCommands(CommandTable& table) {
  // The Edit menu greys all its edit items on this display; the list's
  // pop-up and a double click are where these are offered.
  const auto greyed = [](const WindowContext&) { return false; };
  table.add({.id = kIdAdd, .display = DisplayType::Quotas, .action = addQuota, .enabled = greyed});
  table.add({.id = kIdPropertiesCyclic,
             .display = DisplayType::Quotas,
             .action = editQuotas,
             .enabled = greyed});
  table.add(
      {.id = kIdDelete, .display = DisplayType::Quotas, .action = deleteQuotas, .enabled = greyed});
}

}  // namespace quotas
