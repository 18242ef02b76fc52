#include "users/user_requests.h"

#include "users/request_error.h"

#include <algorithm>
#include <string>
#include <vector>

#include "display/dialog_owner.h"
#include "eventlog/event_report.h"
#include "platform/netapi.h"
#include "platform/security.h"
#include "platform/status_text.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"
#include "users/delete_members_dialog.h"
#include "users/enter_name_dialog.h"
#include "window/window_context.h"

namespace users {

using namespace platform;

namespace {

constexpr DWORD kAll = 0xFFFF'FFFF;

std::vector<std::string> globalGroupsOf(std::string_view server, std::string_view account) {
  NetBuffer buffer;
  DWORD read = 0;
  DWORD total = 0;
  std::vector<std::string> names;
  if (NetUserGetGroups(server, account, 1, buffer, kAll, &read, &total) != NERR_Success)
    return names;
  for (const auto& g : buffer.get<GROUP_USERS_INFO_1>()) names.push_back(g.grui1_name);
  return names;
}

std::vector<std::string> localGroupsOf(std::string_view server, std::string_view account) {
  NetBuffer buffer;
  DWORD read = 0;
  DWORD total = 0;
  std::vector<std::string> names;
  if (NetUserGetLocalGroups(server, account, 0, 0, buffer, kAll, &read, &total) != NERR_Success)
    return names;
  for (const auto& g : buffer.get<LOCALGROUP_USERS_INFO_0>()) names.push_back(g.lgrui0_name);
  return names;
}

// Gives the copy the source's memberships; the groups that refused it.
std::vector<std::string> copyMemberships(std::string_view server, std::string_view source,
                                         std::string_view copy) {
  std::vector<std::string> failed;
  for (const std::string& group : globalGroupsOf(server, source)) {
    const DWORD st = NetGroupAddUser(server, group, copy);
    if (st != NERR_Success && st != NERR_UserInGroup) failed.push_back(group);
  }
  const std::vector<std::string> locals = localGroupsOf(server, source);
  if (locals.empty()) return failed;
  SID sid;
  std::string domain;
  SID_NAME_USE use{};
  if (LookupAccountName(server, copy, &sid, &domain, &use) != ERROR_SUCCESS) {
    failed.insert(failed.end(), locals.begin(), locals.end());
    return failed;
  }
  for (const std::string& group : locals) {
    const DWORD st = NetLocalGroupAddMember(server, group, sid);
    if (st != NERR_Success && st != ERROR_MEMBER_IN_ALIAS) failed.push_back(group);
  }
  return failed;
}

}  // namespace

void copyUser(window::WindowContext& context) {
  const window::Selection selection = context.selection();
  if (selection.size() >= 2) {
    context.messages().ok(res::str(59282), res::programTitle());
    return;
  }
  if (selection.empty()) return;
  const std::string& source = selection.names.front();
  CEnterName prompt(res::str(59326) + source, display::dialogOwner(context.views()));
  if (context.dialogs().run(prompt) != QDialog::Accepted) return;
  const std::string copy = prompt.name();
  const std::string server = context.browseServer();

  NetBuffer buffer;
  if (NetUserGetInfo(server, source, 3, buffer) != NERR_Success ||
      buffer.get<USER_INFO_3>().empty()) {
    context.messages().ok(res::str(59295), res::programTitle());
    return;
  }
  USER_INFO_3 record = buffer.get<USER_INFO_3>().front();
  record.usri3_name = copy;
  // The copy stays disabled, never starts out locked, and gets a password
  // nobody knows: a blank one would be refused by any length policy, or make a
  // live account without a password once someone enables it. Its other flags
  // are the source's, "password not required" among them: that is a setting
  // of the account copied, and with no password anyone knows it lets nobody in.
  record.usri3_password = std::string(kUnknownPassword);
  record.usri3_flags = (record.usri3_flags | UF_ACCOUNTDISABLE) & ~UF_LOCKOUT;
  DWORD parameter = 0;
  const DWORD st = NetUserAdd(server, 3, record, &parameter);
  if (st != NERR_Success) {
    const std::string field = platform::userParameterText(parameter);
    const std::string reason = platform::statusText(st);
    const std::string text =
        st == ERROR_INVALID_PARAMETER
            ? res::str(59296) + std::to_string(parameter) +
                  (field.empty() ? "" : " (" + field + ")")
            : res::str(59293) + std::to_string(st) + (reason.empty() ? "" : ": " + reason);
    context.messages().ok(text, res::str(59294), ui::Icon::Error);
    return;
  }
  if (context.settings().e_logging_onoff)
    eventlog::reportEvent(eventlog::userAddedText(copy), eventlog::kEventUserAdded);
  const std::vector<std::string> failed = copyMemberships(server, source, copy);
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
