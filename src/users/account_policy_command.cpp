#include "users/account_policy_command.h"

#include "display/dialog_owner.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"
#include "users/account_policy_dialog.h"
#include "window/window_context.h"

namespace users {

void editAccountPolicy(window::WindowContext& context) {
  const std::string server = context.browseServer();
  const std::optional<PolicyRecords> read = readPolicy(server);
  if (!read) {
    context.messages().ok(res::str(59306), res::programTitle());
    return;
  }
  CAccountPolicy dialog(server, *read, context.messages(),
                             display::dialogOwner(context.views()));
  context.dialogs().run(dialog);
}

}  // namespace users
