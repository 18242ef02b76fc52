#include "groups/group_admin.h"

#include <optional>
#include <set>
#include <string>

#include "display/dialog_owner.h"
#include "eventlog/event_report.h"
#include "groups/group_members.h"
#include "groups/group_properties_dialog.h"
#include "platform/netapi.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"
#include "users/enter_name_dialog.h"
#include "users/request_error.h"
#include "window/window_context.h"

namespace groups {
namespace {

using namespace platform;

void report(window::WindowContext& context, const std::string& text, DWORD eventId) {
  if (context.settings().e_logging_onoff != 0) eventlog::reportEvent(text, eventId);
}

struct SourceGroup {
  bool local = false;
  std::string comment;
};

// Global first: a name that is both a global and a local group is the
// global one, as the Groups list names it first.
std::optional<SourceGroup> readSource(const std::string& server, const std::string& name) {
  NetBuffer buffer;
  if (NetGroupGetInfo(server, name, 2, buffer) == NERR_Success)
    if (const auto* info = buffer.one<GROUP_INFO_2>()) return SourceGroup{false, info->grpi2_comment};
  if (NetLocalGroupGetInfo(server, name, 1, buffer) == NERR_Success)
    if (const auto* info = buffer.one<LOCALGROUP_INFO_1>())
      return SourceGroup{true, info->lgrpi1_comment};
  return std::nullopt;
}

// The third column of a local group's own row.
constexpr std::string_view kLocalGroupMarker = "AAALOCAL_GROUP_CONTAINER";

// Runs the dialog; true when it closed with OK.
bool runProperties(window::WindowContext& context, GroupOpen open) {
  GroupPropertiesDialog dialog(std::move(open), context.messages(), context.dialogs(),
                               display::dialogOwner(context.views()));
  return context.dialogs().run(dialog) == QDialog::Accepted;
}

}  // namespace

void addGroup(window::WindowContext& context) {
  if (runProperties(context, {context.browseServer(), {}, true, false,
                              context.settings().e_logging_onoff != 0}))
    context.refresh();
}

void editGroups(window::WindowContext& context) {
  const window::Selection selection = context.selection();
  bool changed = false;
  for (std::size_t i = 0; i < selection.size(); ++i) {
    const bool local = i < selection.groups.size() && selection.groups[i] != nullptr &&
                       selection.groups[i]->third == kLocalGroupMarker;
    changed |= runProperties(context, {context.browseServer(), selection.names[i], false, local,
                                       context.settings().e_logging_onoff != 0});
  }
  if (changed) context.refresh();
}

void copyGroup(window::WindowContext& context) {
  const window::Selection selection = context.selection();
  if (selection.empty()) return;
  if (selection.size() > 1) {
    context.messages().ok("It is not possible to copy when more than one\nitem has been selected.",
                          res::programTitle());
    return;
  }
  const std::string server = context.browseServer();
  const std::string& source = selection.names.front();
  const std::optional<SourceGroup> group = readSource(server, source);
  if (!group) {
    context.messages().ok(
        "An error occurred while retrieving information\non the group to be copied.",
        res::programTitle());
    return;
  }
  users::CEnterName dialog(
      (group->local ? "Enter the name of the LOCAL group that should become the copy of\n"
                    : "Enter the name of the GLOBAL group that should become the copy of\n") +
          source,
      display::dialogOwner(context.views()));
  if (context.dialogs().run(dialog) != QDialog::Accepted) return;
  const std::string name = dialog.name();

  const NET_API_STATUS created =
      group->local ? NetLocalGroupAdd(server, 1, LOCALGROUP_INFO_1{name, group->comment}, nullptr)
                   : NetGroupAdd(server, 1, GROUP_INFO_1{name, group->comment}, nullptr);
  if (created != NERR_Success) {
    users::ReportUserRequestError(context.messages(), created);
    return;
  }
  // A copy is a new group: the log shows it as any other addition.
  report(context, eventlog::groupAddedText(name, group->local), eventlog::kEventGroupAdded);

  // Every member is tried; the ones refused are told in one message.
  std::string refused;
  if (group->local) {
    for (const LOCALGROUP_MEMBERS_INFO_2& member : localGroupMembers(server, source).entries) {
      const NET_API_STATUS added = NetLocalGroupAddMember(server, name, member.lgrmi2_sid);
      if (added != NERR_Success && added != ERROR_MEMBER_IN_ALIAS)
        refused += "\nUSER: " + member.lgrmi2_domainandname;
    }
    if (!refused.empty())
      context.messages().ok("Error adding local user." + refused, res::programTitle());
  } else {
    for (const std::string& member : globalGroupMembers(server, source).entries) {
      const NET_API_STATUS added = NetGroupAddUser(server, name, member);
      if (added != NERR_Success && added != NERR_UserInGroup) refused += "\nUSER: " + member;
    }
    if (!refused.empty())
      context.messages().ok("Could not add user to group." + refused, res::programTitle());
  }
  context.refresh();
}

void deleteGroups(window::WindowContext& context) {
  const std::string server = context.browseServer();
  // A group's member rows carry its name: one question per group.
  std::set<std::string> asked;
  bool changed = false;
  for (const std::string& row : context.selection().names) {
    const std::string name = row.substr(0, 600);
    if (!asked.insert(name).second) continue;
    const ui::Answer answer = context.messages().show(
        {"You have chosen to delete a group. This means that the\nSecurity ID (SID) of the group "
         "will be PERMANENTLY\nremoved from the system.\nARE YOU SURE you wish to delete the group?",
         "Deleting GROUP: " + name, ui::Buttons::YesNo, ui::Icon::Warning, ui::Answer::No});
    if (answer != ui::Answer::Yes) continue;
    if (NetGroupDel(server, name) != NERR_Success) {
      const NET_API_STATUS local = NetLocalGroupDel(server, name);
      if (local != NERR_Success) {
        users::ReportUserRequestError(context.messages(), local);
        continue;
      }
    }
    changed = true;
    report(context, eventlog::groupDeletedText(name), eventlog::kEventGroupDeleted);
  }
  if (changed) context.refresh();
}

}  // namespace groups
