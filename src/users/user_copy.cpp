#include "users/user_copy.h"

#include <optional>

#include "eventlog/event_report.h"
#include "platform/security.h"
#include "platform/status_text.h"
#include "resources/strings.h"
#include "ui/messages.h"
#include "users/user_fields.h"
#include "users/user_write.h"

namespace users {

using namespace platform;

namespace {

constexpr DWORD kAll = 0xFFFF'FFFF;

std::optional<USER_INFO_3> readUser(std::string_view server, std::string_view name) {
  NetBuffer buffer;
  if (NetUserGetInfo(server, name, 3, buffer) != NERR_Success) return std::nullopt;
  const auto* record = buffer.one<USER_INFO_3>();
  return record ? std::optional<USER_INFO_3>(*record) : std::nullopt;
}

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

Tick tick(bool on) { return on ? Tick::On : Tick::Off; }

}  // namespace

UserCopy::UserCopy(std::string server, std::string source, bool logging, ui::Messages& messages)
    : m_server(std::move(server)),
      m_source(std::move(source)),
      m_logging(logging),
      m_messages(messages) {
  const std::optional<USER_INFO_3> read = readUser(m_server, m_source);
  m_sourceMustChange = read && read->usri3_password_expired != 0;
}

UserCopy::Step UserCopy::create(const CopyDetails& details) {
  m_attempted = true;
  const std::optional<USER_INFO_3> source = readUser(m_server, m_source);
  if (!source) {
    m_messages.ok(res::str(59295), res::programTitle());
    return Step::Stopped;
  }
  // Add user's checks, on the options the copy would end up with.
  UserFields fields;
  fields.mode = UserMode::New;
  fields.name = details.name;
  fields.password = details.password;
  fields.confirmation = details.confirmation;
  fields.mustChange = tick(details.mustChange);
  fields.cannotChange = tick(source->usri3_flags & UF_PASSWD_CANT_CHANGE);
  fields.neverExpires = tick(source->usri3_flags & UF_DONT_EXPIRE_PASSWD);
  if (!checksPass(fields, m_messages)) return Step::StayOpen;

  const USER_INFO_3 record = copyRecord(*source, details);
  DWORD parameter = 0;
  const DWORD st = NetUserAdd(m_server, 3, record, &parameter);
  if (st != NERR_Success) {
    const std::string field = platform::userParameterText(parameter);
    const std::string reason = platform::statusText(st);
    const std::string text =
        st == ERROR_INVALID_PARAMETER
            ? res::str(59296) + std::to_string(parameter) +
                  (field.empty() ? "" : " (" + field + ")")
            : res::str(59293) + std::to_string(st) + (reason.empty() ? "" : ": " + reason);
    m_messages.ok(text, res::str(59294), ui::Icon::Error);
    return Step::StayOpen;
  }
  m_created = true;
  m_copy = details.name;
  if (m_logging) eventlog::reportEvent(eventlog::userAddedText(m_copy), eventlog::kEventUserAdded);
  return Step::Created;
}

std::vector<std::string> UserCopy::copyMemberships() const {
  std::vector<std::string> failed;
  if (!m_created) return failed;
  for (const std::string& group : globalGroupsOf(m_server, m_source)) {
    const DWORD st = NetGroupAddUser(m_server, group, m_copy);
    if (st != NERR_Success && st != NERR_UserInGroup) failed.push_back(group);
  }
  const std::vector<std::string> locals = localGroupsOf(m_server, m_source);
  if (locals.empty()) return failed;
  SID sid;
  std::string domain;
  SID_NAME_USE use{};
  if (LookupAccountName(m_server, m_copy, &sid, &domain, &use) != ERROR_SUCCESS) {
    failed.insert(failed.end(), locals.begin(), locals.end());
    return failed;
  }
  for (const std::string& group : locals) {
    const DWORD st = NetLocalGroupAddMember(m_server, group, sid);
    if (st != NERR_Success && st != ERROR_MEMBER_IN_ALIAS) failed.push_back(group);
  }
  return failed;
}

}  // namespace users
