#include "transfer/import_command.h"

#include "display/dialog_owner.h"
#include "session/display_traits.h"
#include "transfer/import_dialog.h"
#include "ui/dialog_runner.h"
#include "window/window_context.h"

namespace transfer {

void importCommand(window::WindowContext& context) {
  ImportDialog dialog(context.browseServer(), context.settings().e_logging_onoff != 0,
                      {context.messages(), context.files(), context.dialogs()},
                      display::dialogOwner(context.views()));
  context.dialogs().run(dialog);
  if (dialog.changedAccounts() && display::traitsOf(context.displayType()).listsAccounts)
    context.refresh();
}

}  // namespace transfer
