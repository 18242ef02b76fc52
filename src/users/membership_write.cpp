#include "users/membership_write.h"

#include <algorithm>
#include <optional>
#include <unordered_set>
#include <utility>

#include "platform/netapi.h"
#include "platform/security.h"
#include "resources/strings.h"
#include "ui/messages.h"
#include "users/membership.h"

namespace users {

using namespace platform;

namespace {

constexpr std::string_view kLocalGroupNote = "\nError editing LOCAL group.";

// The account's SID, looked up once per account and only when a local
// group needs it.
class AccountSid {
 public:
  AccountSid(std::string_view server, const std::string& account)
      : m_server(server), m_account(account) {}

  const SID* get() {
    if (!m_looked) {
      m_looked = true;
      std::string domain;
      SID_NAME_USE use{};
      SID sid;
      m_status = LookupAccountName(m_server, m_account, &sid, &domain, &use);
      if (m_status == ERROR_SUCCESS) m_sid = std::move(sid);
    }
    return m_sid ? &*m_sid : nullptr;
  }
  DWORD status() const { return m_status; }
  // True the first time only: a look-up that failed is reported once.
  bool firstFailure() { return !std::exchange(m_reported, true); }

 private:
  std::string_view m_server;
  const std::string& m_account;
  bool m_looked = false;
  bool m_reported = false;
  DWORD m_status = ERROR_SUCCESS;
  std::optional<SID> m_sid;
};

std::string accountPart(bool naming, const std::string& account) {
  return naming ? account + "\n" : std::string();
}

void addGlobal(std::string_view server, const std::string& account, const std::string& group,
               MembershipReport& report) {
  const NET_API_STATUS st = NetGroupAddUser(server, group, account);
  if (st != NERR_Success && st != NERR_UserInGroup) report.additionFailed(account, group);
}

void addLocal(std::string_view server, const std::string& account, const std::string& group,
              AccountSid& sid, MembershipReport& report) {
  const SID* found = sid.get();
  if (!found) {
    if (sid.firstFailure())
      report.failed(res::str(59199) + " with return code " + std::to_string(sid.status()));
    return;
  }
  const NET_API_STATUS st = NetLocalGroupAddMember(server, group, *found);
  if (st != NERR_Success && st != ERROR_MEMBER_IN_ALIAS) report.additionFailed(account, group);
}

void removeEntry(std::string_view server, const std::string& account, const std::string& entry,
                 AccountSid& sid, MembershipReport& report) {
  if (entry.empty() || isIndirect(entry)) return;
  const std::string group = groupOf(entry);
  if (isLocal(entry)) {
    const SID* found = sid.get();
    if (!found) {
      report.failed(res::str(59291) + entry + std::string(kLocalGroupNote));
      return;
    }
    const NET_API_STATUS st = NetLocalGroupDelMember(server, group, *found);
    if (st != NERR_Success && st != ERROR_MEMBER_NOT_IN_ALIAS) report.removalFailed(account, entry);
    return;
  }
  const NET_API_STATUS st = NetGroupDelUser(server, group, account);
  if (st != NERR_Success && st != NERR_UserNotInGroup) report.removalFailed(account, entry);
}

}  // namespace

void MembershipReport::additionFailed(const std::string& account, const std::string& group) {
  auto found = std::ranges::find(m_added, group, &decltype(m_added)::value_type::first);
  if (found == m_added.end()) found = m_added.insert(m_added.end(), {group, {}});
  found->second.push_back(account);
}

void MembershipReport::removalFailed(const std::string& account, const std::string& entry) {
  std::string text = res::str(59209) + accountPart(m_namingAccounts, account) + entry;
  if (isLocal(entry)) text += kLocalGroupNote;
  m_paragraphs.push_back(std::move(text));
}

void MembershipReport::failed(std::string text) { m_paragraphs.push_back(std::move(text)); }

std::string MembershipReport::text() const {
  std::string text;
  if (!m_added.empty()) {
    text = res::str(59198);
    for (const auto& [group, accounts] : m_added) {
      text += "\n" + group;
      if (!m_namingAccounts) continue;
      text += ":";
      for (std::size_t i = 0; i < accounts.size(); ++i)
        text += (i == 0 ? " " : ", ") + accounts[i];
    }
  }
  for (const std::string& paragraph : m_paragraphs) {
    if (!text.empty()) text += "\n\n";
    text += paragraph;
  }
  return text;
}

void MembershipReport::show(ui::Messages& messages) const {
  if (!empty()) messages.ok(text(), res::programTitle(), ui::Icon::Warning);
}

void writeMemberships(std::string_view server, const std::string& account,
                      const UserFields& fields, MembershipReport& report) {
  AccountSid sid(server, account);
  std::unordered_set<std::string> globals;
  std::unordered_set<std::string> locals;
  bool globalsRead = false;
  bool localsRead = false;
  for (const std::string& entry : fields.memberOf) {
    if (isIndirect(entry)) continue;
    const std::string group = groupOf(entry);
    if (isLocal(entry)) {
      if (!localsRead) {
        for (std::string& g : userLocalGroups(server, account, false)) locals.insert(std::move(g));
        localsRead = true;
      }
      if (!locals.contains(group)) addLocal(server, account, group, sid, report);
    } else {
      if (!globalsRead) {
        for (std::string& g : userGlobalGroups(server, account)) globals.insert(std::move(g));
        globalsRead = true;
      }
      if (!globals.contains(group)) addGlobal(server, account, group, report);
    }
  }
  for (const std::string& entry : fields.pendingRemovals)
    removeEntry(server, account, entry, sid, report);
}

void writePendingChanges(std::string_view server, const std::string& account,
                         const UserFields& fields, MembershipReport& report) {
  AccountSid sid(server, account);
  for (const std::string& entry : fields.pendingRemovals)
    removeEntry(server, account, entry, sid, report);
  for (const std::string& entry : fields.pendingAdditions) {
    if (entry.empty() || isIndirect(entry)) continue;
    if (isLocal(entry))
      addLocal(server, account, groupOf(entry), sid, report);
    else
      addGlobal(server, account, groupOf(entry), report);
  }
}

}  // namespace users
