#include "users/user_properties_command.h"

#include "display/dialog_owner.h"
#include "platform/netapi.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"
#include "ui/qt_program_starter.h"
#include "users/user_load.h"
#include "users/user_properties_dialog.h"
#include "window/window_context.h"

namespace users {

using namespace platform;

namespace {

UserOpen openFor(const window::WindowContext& context) {
  return {context.browseServer(), context.settings().e_logging_onoff != 0};
}

// Runs the dialog; true when anything may have been written.
bool run(window::WindowContext& context, UserFields fields, ui::ProgramStarter& programs) {
  CUserProperties dialog(openFor(context), std::move(fields), context.messages(), programs,
                         context.dialogs(), display::dialogOwner(context.views()));
  const bool ok = context.dialogs().run(dialog) == QDialog::Accepted;
  return ok || dialog.created();
}

}  // namespace

bool serverConfirmed(window::WindowContext& context) {
  NetBuffer buffer;
  DWORD type = 0;
  if (NetServerGetInfo(context.browseServer(), 101, buffer) == NERR_Success)
    if (const auto* info = buffer.one<SERVER_INFO_101>()) type = info->sv101_type;
  if (type & SV_TYPE_DOMAIN_CTRL) return true;
  return context.messages().show(
             {"WARNING: As the server chosen is NOT the Domain Controller, changes made cannot be "
              "comitted, and an error (non-fatal) will occur. Proceed anyway?",
              "Warning!", ui::Buttons::YesNo, ui::Icon::Warning, ui::Answer::No}) ==
         ui::Answer::Yes;
}

Opened ShowUserProperties(window::WindowContext& context, const std::string& name,
                          ui::ProgramStarter& programs) {
  if (!serverConfirmed(context)) return Opened::Cancel;
  std::optional<UserFields> fields = loadSingleUser(context.browseServer(), name);
  if (!fields) {
    context.messages().ok(res::str(59295), res::programTitle());
    return Opened::Unreadable;
  }
  return run(context, std::move(*fields), programs) ? Opened::Ok : Opened::Cancel;
}

void ShowUserPropertiesCombined(window::WindowContext& context) {
  const window::Selection selection = context.selection();
  if (selection.empty() || !serverConfirmed(context)) return;
  ui::QtProgramStarter programs;
  if (run(context, loadMultipleUsers(context.browseServer(), selection.names), programs))
    context.refresh();
}

void editUsers(window::WindowContext& context) {
  ui::QtProgramStarter programs;
  bool changed = false;
  for (const std::string& name : context.selection().names) {
    const Opened opened = ShowUserProperties(context, name, programs);
    if (opened == Opened::Cancel) break;
    changed |= opened == Opened::Ok;
  }
  if (changed) context.refresh();
}

void addUser(window::WindowContext& context) {
  ui::QtProgramStarter programs;
  if (run(context, loadNewUser(context.browseServer()), programs)) context.refresh();
}

}  // namespace users
