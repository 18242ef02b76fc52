#include "platform/lab/json_groups.h"

#include <unordered_set>

#include "platform/lab/json_accounts.h"
#include "platform/lab/json_fields.h"
#include "platform/lab/json_users.h"

namespace lab::json {
namespace {

using namespace platform;

SID resolveMember(Network& net, const PendingMembers& p, const std::string& text,
                  const std::string& where) {
  if (text.rfind("S-1-", 0) == 0) {
    if (!validSid(text)) fail(where, "malformed SID " + quotedText(text));
    return {text};
  }
  const Sam* sam = p.sam;
  std::string name = text;
  if (auto slash = text.find('\\'); slash != std::string::npos) {
    const auto dom = text.substr(0, slash);
    name = text.substr(slash + 1);
    sam = nullptr;
    if (const Domain* d = net.findDomain(dom)) sam = &d->sam;
    else if (const Machine* m = net.findMachine(dom); m && m->sam) sam = &*m->sam;
    if (!sam) fail(where, "no domain or machine " + quotedText(dom) + " for member " + quotedText(text));
  }
  if (const User* u = sam->findUser(name)) return accountSid(*sam, u->rid, AccountKind::User);
  if (const Group* g = sam->findGroup(name)) return accountSid(*sam, g->rid, AccountKind::Group);
  if (sam->findLocalGroup(name)) fail(where, "a local group cannot be a member of a local group (" + quotedText(text) + ")");
  fail(where, "member " + quotedText(text) + " does not exist");
}

// A member's name as written: qualified when another database holds it, its
// SID when none does (deleted or foreign).
std::string memberText(const Network& net, const Sam& owner, const SID& sid) {
  auto lastDash = sid.value.rfind('-');
  if (lastDash == std::string::npos) return sid.value;
  const std::string prefix = sid.value.substr(0, lastDash);
  DWORD rid = 0;
  std::from_chars(sid.value.data() + lastDash + 1, sid.value.data() + sid.value.size(), rid);
  auto nameIn = [&](const Sam& s) -> std::string {
    if (const User* u = s.userByRidOrNull(rid)) return u->name;
    if (const Group* g = s.groupByRidOrNull(rid)) return g->name;
    return {};
  };
  auto qualify = [&](const Sam& s, const std::string& n) {
    return &s == &owner ? n : s.name + "\\" + n;
  };
  for (const auto& d : net.domains) {
    if (d.sam.sid.value == prefix) {
      if (auto n = nameIn(d.sam); !n.empty()) return qualify(d.sam, n);
    }
  }
  for (const auto& m : net.machines) {
    if (m.sam && m.sam->sid.value == prefix) {
      if (auto n = nameIn(*m.sam); !n.empty()) return qualify(*m.sam, n);
    }
  }
  return sid.value;
}

}  // namespace

template <class J>
Group readGroup(const J& j, const std::string& where, std::vector<std::string>& memberNames) {
  expectObject(j, where, {"name", "rid", "comment", "attributes", "members"});
  Group g;
  g.name = text(j, "name", where, true);
  if (!validAccountName(g.name)) fail(at(where, "name"), "invalid group name " + quotedText(g.name));
  g.rid = number(j, "rid", where, 0);
  g.comment = text(j, "comment", where);
  g.attributes = number(j, "attributes", where, g.attributes);
  memberNames = texts(j, "members", where);
  return g;
}

void linkGroupMembers(Sam& sam, const std::vector<std::vector<std::string>>& memberNames,
                      const std::string& path) {
  for (std::size_t k = 0; k < sam.groups.size(); ++k) {
    const auto where = at(at(path, k), "members");
    std::unordered_set<DWORD> seen;
    seen.reserve(memberNames[k].size());
    sam.groups[k].members.reserve(memberNames[k].size());
    for (std::size_t m = 0; m < memberNames[k].size(); ++m) {
      const auto& name = memberNames[k][m];
      const User* u = sam.findUser(name);
      if (!u) fail(at(where, m), "no user " + quotedText(name) + " in " + sam.name);
      if (!seen.insert(u->rid).second) fail(at(where, m), quotedText(name) + " is listed twice");
      sam.groups[k].members.push_back(u->rid);
    }
  }
}

Json writeGroups(const Sam& sam) {
  Json groups = Json::array();
  for (const auto& g : sam.groups) {
    Json e;
    e["name"] = g.name;
    e["rid"] = g.rid;
    e["comment"] = g.comment;
    if (g.attributes != (SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED)) {
      e["attributes"] = g.attributes;
    }
    Json members = Json::array();
    for (auto rid : g.members) {
      if (const User* u = sam.userByRidOrNull(rid)) members.push_back(u->name);
    }
    e["members"] = std::move(members);
    groups.push_back(std::move(e));
  }
  return groups;
}

template <class J>
LocalGroup readLocalGroup(const J& j, const std::string& where) {
  expectObject(j, where, {"name", "rid", "comment", "members"});
  LocalGroup g;
  g.name = text(j, "name", where, true);
  if (!validAccountName(g.name)) fail(at(where, "name"), "invalid group name " + quotedText(g.name));
  g.rid = number(j, "rid", where, 0);
  g.comment = text(j, "comment", where);
  return g;
}

template <class J>
std::vector<std::string> readMemberNames(const J& group, const std::string& path) {
  return texts(group, "members", path);
}

Json writeLocalGroups(const Network& net, const Sam& sam) {
  Json a = Json::array();
  for (const auto& g : sam.localGroups) {
    Json e;
    e["name"] = g.name;
    e["rid"] = g.rid;
    e["comment"] = g.comment;
    Json members = Json::array();
    for (const auto& m : g.members) members.push_back(memberText(net, sam, m));
    e["members"] = std::move(members);
    a.push_back(std::move(e));
  }
  return a;
}

void resolveLocalGroupMembers(Network& net, const std::vector<PendingMembers>& pending) {
  for (const auto& p : pending) {
    auto& group = p.sam->localGroups[p.localGroup];
    for (std::size_t i = 0; i < p.members.size(); ++i) {
      const auto where = at(p.path, i);
      SID sid = resolveMember(net, p, p.members[i], where);
      if (std::find(group.members.begin(), group.members.end(), sid) != group.members.end()) {
        fail(where, quotedText(p.members[i]) + " is listed twice");
      }
      group.members.push_back(std::move(sid));
    }
  }
}

std::vector<SID> readMemberSids(const Json& members, const std::string& where) {
  if (!members.is_array()) fail(where, "expected an array of SIDs");
  std::vector<SID> out;
  for (const auto& m : members) {
    if (!m.is_string() || !validSid(m.get<std::string>())) fail(where, "expected an array of SIDs");
    SID sid{m.get<std::string>()};
    if (std::find(out.begin(), out.end(), sid) != out.end()) {
      fail(where, quotedText(sid.value) + " is listed twice");
    }
    out.push_back(std::move(sid));
  }
  return out;
}

Json writeMemberSids(const LocalGroup& group) {
  Json members = Json::array();
  for (const auto& sid : group.members) members.push_back(sid.value);
  return members;
}

template Group readGroup(const Json&, const std::string&, std::vector<std::string>&);
template Group readGroup(const SimdValue&, const std::string&, std::vector<std::string>&);
template LocalGroup readLocalGroup(const Json&, const std::string&);
template LocalGroup readLocalGroup(const SimdValue&, const std::string&);
template std::vector<std::string> readMemberNames(const Json&, const std::string&);
template std::vector<std::string> readMemberNames(const SimdValue&, const std::string&);

}  // namespace lab::json
