#include "groups/group_edit.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "eventlog/event_report.h"
#include "groups/group_members.h"
#include "platform/netapi.h"
#include "platform/security.h"
#include "resources/strings.h"
#include "ui/messages.h"

namespace groups {
namespace {

using namespace platform;

// The size the OK step reads the current members in pages of.
constexpr DWORD kMemberPageBytes = 5000;

char lowerAZ(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string folded(std::string_view name) {
  std::string key(name);
  for (char& c : key) c = lowerAZ(c);
  return key;
}

// Names as the server compares them, for lookups in lists of thousands of
// members: a linear search per entry would make large groups slow.
class NameSet {
 public:
  NameSet() = default;
  explicit NameSet(const std::vector<std::string>& names) {
    m_keys.reserve(names.size());
    for (const std::string& name : names) insert(name);
  }
  void insert(std::string_view name) { m_keys.insert(folded(name)); }
  bool contains(std::string_view name) const { return m_keys.contains(folded(name)); }

 private:
  std::unordered_set<std::string> m_keys;
};

// The server's members as the OK step found them, each marked once the
// edited list names it (as the server compares names). One index of the
// server's list serves both directions of the comparison: the edited
// entries it lacks are added, its members left unmarked are removed.
class ServerMembers {
 public:
  explicit ServerMembers(const std::vector<std::string_view>& names)
      : m_first(names.size()), m_kept(names.size(), false) {
    m_index.reserve(names.size());
    for (std::size_t i = 0; i < names.size(); ++i)
      m_first[i] = m_index.emplace(folded(names[i]), i).first->second;
  }
  // Marks `name` as kept; false when the server does not hold it.
  bool keep(std::string_view name) {
    const auto found = m_index.find(folded(name));
    if (found == m_index.end()) return false;
    m_kept[found->second] = true;
    return true;
  }
  // Whether the edited list names member `i` (a name listed twice counts as
  // its first listing).
  bool kept(std::size_t i) const { return m_kept[m_first[i]]; }

 private:
  std::unordered_map<std::string, std::size_t> m_index;
  std::vector<std::size_t> m_first;
  std::vector<bool> m_kept;
};

bool isLocalGroup(std::string_view server, std::string_view name) {
  NetBuffer buffer;
  return NetLocalGroupGetInfo(server, name, 1, buffer) == NERR_Success;
}

std::vector<std::string> normalAccounts(std::string_view server) {
  std::vector<std::string> names;
  DWORD resume = 0;
  for (;;) {
    NetBuffer buffer;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status = NetUserEnum(server, 0, FILTER_NORMAL_ACCOUNT, buffer,
                                              MAX_PREFERRED_LENGTH, &read, &total, &resume);
    if (status != NERR_Success && status != ERROR_MORE_DATA) break;
    const auto page = buffer.get<USER_INFO_0>();
    for (const USER_INFO_0& user : page) names.push_back(user.usri0_name);
    if (status == NERR_Success || page.empty()) break;
  }
  return names;
}

void ok(ui::Messages& messages, std::string text) {
  messages.ok(std::move(text), res::programTitle());
}

// The second group takes the candidate list. Only the server's own domain
// prefix comes off: an account of another domain is not the local one of
// the same name.
void writeSecondGroup(std::string_view server, const GroupFields& fields, ui::Messages& messages) {
  const std::string& group = fields.secondGroup;
  const std::string domainPrefix = serverDomain(server) + "\\";
  std::vector<std::string> wanted;
  for (const std::string& entry : fields.candidates) {
    if (entry.empty()) continue;
    const bool own = entry.size() > domainPrefix.size() &&
                     sameName(std::string_view(entry).substr(0, domainPrefix.size()), domainPrefix);
    wanted.push_back(own ? entry.substr(domainPrefix.size()) : entry);
  }
  const std::vector<std::string> current =
      globalGroupMembers(server, group, kMemberPageBytes).entries;
  const NameSet currentSet(current);
  const NameSet wantedSet(wanted);
  for (const std::string& entry : wanted) {
    if (currentSet.contains(entry)) continue;
    const NET_API_STATUS added = NetGroupAddUser(server, group, entry);
    if (added != NERR_Success && added != NERR_UserInGroup)
      ok(messages, "Could not add user to group.\nUSER: " + entry + "!");
  }
  for (const std::string& member : current)
    if (!wantedSet.contains(member) && NetGroupDelUser(server, group, member) != NERR_Success)
      ok(messages, "Could not remove user from group.\nUSER: " + member);
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(),
                    [](char x, char y) { return lowerAZ(x) == lowerAZ(y); });
}

std::string serverDomain(std::string_view server) {
  NetBuffer buffer;
  if (NetUserModalsGet(server, 2, buffer) != NERR_Success) return {};
  const auto* info = buffer.one<USER_MODALS_INFO_2>();
  return info ? info->usrmod2_domain_name : std::string();
}

std::vector<std::string> secondGroupEntries(std::string_view server, const std::string& group,
                                            bool local) {
  std::vector<std::string> entries = globalGroupMembers(server, group).entries;
  const std::string prefix = local ? serverDomain(server) : std::string();
  if (!prefix.empty())
    for (std::string& entry : entries) entry = prefix + "\\" + entry;
  return entries;
}

GroupFields loadGroup(std::string_view server, std::string name, bool isNew, bool local) {
  GroupFields fields;
  fields.name = std::move(name);
  fields.isNew = isNew;
  fields.local = local;
  if (!isNew) {
    if (isLocalGroup(server, fields.name)) fields.local = true;
    NetBuffer buffer;
    if (fields.local) {
      if (NetLocalGroupGetInfo(server, fields.name, 1, buffer) == NERR_Success)
        if (const auto* info = buffer.one<LOCALGROUP_INFO_1>()) fields.description = info->lgrpi1_comment;
      auto members = localGroupMembers(server, fields.name).entries;
      fields.members.reserve(members.size());
      for (auto& m : members) fields.members.push_back(std::move(m.lgrmi2_domainandname));
    } else {
      if (NetGroupGetInfo(server, fields.name, 2, buffer) == NERR_Success)
        if (const auto* info = buffer.one<GROUP_INFO_2>()) fields.description = info->grpi2_comment;
      fields.members = globalGroupMembers(server, fields.name).entries;
    }
  }
  const std::string prefix = fields.local ? serverDomain(server) : std::string();
  const NameSet members(fields.members);
  for (const std::string& account : normalAccounts(server)) {
    std::string entry = prefix.empty() ? account : prefix + "\\" + account;
    if (!members.contains(entry)) fields.candidates.push_back(std::move(entry));
  }
  return fields;
}

WriteResult writeGroup(std::string_view server, GroupFields& fields, bool logging,
                       ui::Messages& messages) {
  if (fields.isNew && fields.name.empty()) {
    ok(messages, "You MUST fill in a name, or cancel this action.");
    return WriteResult::StayOpen;
  }
  // What the server holds now; a new group holds nothing yet.
  Members<LOCALGROUP_MEMBERS_INFO_2> localNow;
  Members<std::string> globalNow;
  std::vector<std::string_view> currentNames;
  if (!fields.isNew) {
    if (fields.local) {
      localNow = localGroupMembers(server, fields.name, kMemberPageBytes);
      currentNames.reserve(localNow.entries.size());
      for (const auto& m : localNow.entries) currentNames.push_back(m.lgrmi2_domainandname);
    } else {
      globalNow = globalGroupMembers(server, fields.name, kMemberPageBytes);
      currentNames.assign(globalNow.entries.begin(), globalNow.entries.end());
    }
  }
  ServerMembers current(currentNames);
  NameSet added;
  std::vector<std::string> additions;
  for (const std::string& entry : fields.members)
    if (!entry.empty() && !current.keep(entry) && !added.contains(entry)) {
      added.insert(entry);
      additions.push_back(entry);
    }
  // A name the server cannot resolve, or an account a local group cannot
  // hold (another local group, a domain, a deleted account), would fail
  // half-way through the writes: refuse it while nothing is written yet.
  if (fields.local) {
    for (const std::string& entry : additions) {
      SID sid;
      std::string domain;
      SID_NAME_USE use = SidTypeUser;
      const bool found = LookupAccountName(server, entry, &sid, &domain, &use) == ERROR_SUCCESS;
      if (!found || use == SidTypeAlias || use == SidTypeDomain || use == SidTypeDeletedAccount ||
          use == SidTypeInvalid || use == SidTypeUnknown) {
        messages.ok("One of the members entered is invalid.\nPlease remove user '" + entry + "'",
                    "Invalid user entered.");
        return WriteResult::StayOpen;
      }
    }
  }

  if (fields.isNew) {
    const NET_API_STATUS created =
        fields.local
            ? NetLocalGroupAdd(server, 1, LOCALGROUP_INFO_1{fields.name, fields.description}, nullptr)
            : NetGroupAdd(server, 1, GROUP_INFO_1{fields.name, fields.description}, nullptr);
    if (created != NERR_Success) {
      ok(messages, "An error occurred while adding the group.\nThe group has NOT been added.");
      return WriteResult::Close;
    }
    fields.isNew = false;
    if (logging)
      eventlog::reportEvent(eventlog::groupAddedText(fields.name, fields.local),
                            eventlog::kEventGroupAdded);
  } else {
    NetBuffer buffer;
    NET_API_STATUS written = NERR_GroupNotFound;
    if (fields.local) {
      if (NetLocalGroupGetInfo(server, fields.name, 1, buffer) == NERR_Success)
        if (const auto* info = buffer.one<LOCALGROUP_INFO_1>()) {
          LOCALGROUP_INFO_1 changed = *info;
          changed.lgrpi1_comment = fields.description;
          written = NetLocalGroupSetInfo(server, fields.name, 1, changed, nullptr);
        }
    } else if (NetGroupGetInfo(server, fields.name, 2, buffer) == NERR_Success) {
      if (const auto* info = buffer.one<GROUP_INFO_2>()) {
        GROUP_INFO_2 changed = *info;
        changed.grpi2_comment = fields.description;
        written = NetGroupSetInfo(server, fields.name, 2, changed, nullptr);
      }
    }
    if (written != NERR_Success)
      ok(messages, "The group information could not be written.\nCheck the results.");
  }

  // Every member is written; the ones the server still refuses are told
  // in one message once all were tried.
  std::string refused;
  for (const std::string& entry : additions) {
    NET_API_STATUS added = NERR_Success;
    if (fields.local) {
      const std::vector<std::string> names{entry};
      added = NetLocalGroupAddMembers(server, fields.name, 3, {}, names);
      if (added == ERROR_MEMBER_IN_ALIAS) added = NERR_Success;
    } else {
      added = NetGroupAddUser(server, fields.name, entry);
      if (added == NERR_UserInGroup) added = NERR_Success;
    }
    if (added != NERR_Success) refused += "\nUSER: " + entry;
  }
  if (!refused.empty()) ok(messages, "Could not add user to group." + refused);

  // Removed by the SID read with the member, so a member whose account no
  // longer resolves can go too.
  for (std::size_t i = 0; i < localNow.entries.size(); ++i) {
    const auto& member = localNow.entries[i];
    if (!current.kept(i) &&
        NetLocalGroupDelMember(server, fields.name, member.lgrmi2_sid) != NERR_Success)
      ok(messages, "Could not remove user from group.\nUSER: " + member.lgrmi2_domainandname +
                       "\nError editing LOCAL group.");
  }
  for (std::size_t i = 0; i < globalNow.entries.size(); ++i) {
    const std::string& member = globalNow.entries[i];
    if (!current.kept(i) && NetGroupDelUser(server, fields.name, member) != NERR_Success)
      ok(messages, "Could not remove user from group.\nUSER: " + member);
  }
  if (!fields.secondGroup.empty()) writeSecondGroup(server, fields, messages);
  return WriteResult::Close;
}

}  // namespace groups
