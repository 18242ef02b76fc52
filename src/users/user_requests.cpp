#include "users/user_requests.h"

#include "users/request_error.h"

#include <string>
#include <vector>

#include "display/dialog_owner.h"
#include "eventlog/event_report.h"
#include "platform/netapi.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"
#include "users/delete_members_dialog.h"
#include "users/enter_name_dialog.h"
#include "users/user_copy.h"
#include "window/window_context.h"

namespace users {

using namespace platform;

void copyUser(window::WindowContext& context) {
  const window::Selection selection = context.selection();
  if (selection.size() >= 2) {
    context.messages().ok(res::str(59282), res::programTitle());
    return;
  }
  if (selection.empty()) return;
  const std::string& source = selection.names.front();
  UserCopy copy(context.browseServer(), source, context.settings().e_logging_onoff != 0,
                context.messages());
  CEnterName prompt(res::str(59326) + source, display::dialogOwner(context.views()));
  prompt.offerAccountFields(copy.sourceMustChange());
  // The account is made on OK, so a message about what was typed leaves the
  // prompt open with it.
  prompt.setOkStep([&] { return copy.create(prompt.copyDetails()) != UserCopy::Step::StayOpen; });
  if (context.dialogs().run(prompt) != QDialog::Accepted) return;
  // A runner may accept the prompt without its OK step having run (one that
  // only fills the fields): the copy is made now, as OK would have made it.
  if (!copy.attempted()) copy.create(prompt.copyDetails());
  if (!copy.created()) return;
  const std::vector<std::string> failed = copy.copyMemberships();
  if (!failed.empty()) {
    std::string text = res::str(59198);
    for (const std::string& group : failed) text += "\n" + group;
    context.messages().ok(text, res::programTitle(), ui::Icon::Warning);
  }
  context.refresh();
}

void deleteUsers(window::WindowContext& context) {
  const window::Selection selection = context.selection();
  if (selection.empty()) return;
  bool confirm = true;
  if (selection.size() > 1) {
    CDeleteMembers ask(display::dialogOwner(context.views()));
    if (context.dialogs().run(ask) != QDialog::Accepted) return;
    confirm = ask.choice() != CDeleteMembers::DeleteAll;
  }
  const std::string server = context.browseServer();
  bool changed = false;
  for (const std::string& name : selection.names) {
    if (confirm) {
      const ui::Answer answer = context.messages().show(
          {res::str(59240), res::str(59244) + name, ui::Buttons::YesNo, ui::Icon::Question,
           ui::Answer::No});
      if (answer != ui::Answer::Yes) continue;
    }
    const DWORD st = NetUserDel(server, name);
    if (st != NERR_Success) {
      ReportUserRequestError(context.messages(), st);
      continue;
    }
    changed = true;
    if (context.settings().e_logging_onoff)
      eventlog::reportEvent(eventlog::userDeletedText(name), eventlog::kEventUserDeleted);
  }
  if (changed) context.refresh();
}

}  // namespace users
