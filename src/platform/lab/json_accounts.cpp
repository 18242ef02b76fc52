#include "platform/lab/json_accounts.h"

#include <unordered_set>

#include "platform/lab/json_fields.h"
#include "platform/lab/json_users.h"

namespace lab::json {
namespace {

using namespace platform;

template <class J>
DeletedAccount readDeleted(const J& j, const std::string& where) {
  expectObject(j, where, {"name", "rid", "kind"});
  DeletedAccount d;
  d.name = text(j, "name", where, true);
  d.rid = number(j, "rid", where, 0, true);
  const auto kind = text(j, "kind", where, false, "user");
  if (kind == "user") d.kind = AccountKind::User;
  else if (kind == "group") d.kind = AccountKind::Group;
  else if (kind == "localGroup") d.kind = AccountKind::LocalGroup;
  else fail(at(where, "kind"), "expected \"user\", \"group\" or \"localGroup\"");
  return d;
}

}  // namespace

bool validSid(std::string_view s) {
  if (s.substr(0, 4) != "S-1-") return false;
  for (char c : s.substr(4)) if (!((c >= '0' && c <= '9') || c == '-')) return false;
  return s.back() != '-' && s.find("--") == std::string_view::npos;
}

template <class J>
void readPolicy(const J& j, const std::string& path, Policy& p) {
  expectObject(j, path,
               {"minPasswordLength", "maxPasswordAge", "minPasswordAge", "forceLogoff",
                "passwordHistoryLength", "lockoutDuration", "lockoutObservationWindow",
                "lockoutThreshold"});
  auto& m0 = p.modals0;
  m0.usrmod0_min_passwd_len = number(j, "minPasswordLength", path, m0.usrmod0_min_passwd_len);
  m0.usrmod0_max_passwd_age = numberOr(j, "maxPasswordAge", path, m0.usrmod0_max_passwd_age, "never");
  m0.usrmod0_min_passwd_age = number(j, "minPasswordAge", path, m0.usrmod0_min_passwd_age);
  m0.usrmod0_force_logoff = numberOr(j, "forceLogoff", path, m0.usrmod0_force_logoff, "never");
  m0.usrmod0_password_hist_len = number(j, "passwordHistoryLength", path, m0.usrmod0_password_hist_len);
  auto& m3 = p.modals3;
  m3.usrmod3_lockout_duration = numberOr(j, "lockoutDuration", path, m3.usrmod3_lockout_duration, "forever");
  m3.usrmod3_lockout_observation_window = number(j, "lockoutObservationWindow", path, m3.usrmod3_lockout_observation_window);
  m3.usrmod3_lockout_threshold = number(j, "lockoutThreshold", path, m3.usrmod3_lockout_threshold);
}

Json writePolicy(const Policy& p) {
  const auto& m0 = p.modals0;
  const auto& m3 = p.modals3;
  auto orWord = [](DWORD v, const char* word) { return v == 0xFFFFFFFFu ? Json(word) : Json(v); };
  return Json{{"minPasswordLength", m0.usrmod0_min_passwd_len},
              {"maxPasswordAge", orWord(m0.usrmod0_max_passwd_age, "never")},
              {"minPasswordAge", m0.usrmod0_min_passwd_age},
              {"forceLogoff", orWord(m0.usrmod0_force_logoff, "never")},
              {"passwordHistoryLength", m0.usrmod0_password_hist_len},
              {"lockoutDuration", orWord(m3.usrmod3_lockout_duration, "forever")},
              {"lockoutObservationWindow", m3.usrmod3_lockout_observation_window},
              {"lockoutThreshold", m3.usrmod3_lockout_threshold}};
}

template <class J>
void readSam(const J& j, const std::string& path, Sam& sam,
             std::vector<PendingMembers>& pending, const std::string& domainOfMachine) {
  if (const auto s = field(j, "sid")) {
    if (!s->is_string() || !validSid(s->template get<std::string>())) {
      fail(at(path, "sid"), "expected a SID such as \"S-1-5-21-1-2-3\"");
    }
    sam.sid.value = s->template get<std::string>();
  }
  sam.nextRid = number(j, "nextRid", path, 1000);
  if (const auto p = field(j, "policy")) readPolicy(*p, at(path, "policy"), sam.policy);

  std::unordered_set<DWORD> rids;
  // Names go straight into the database's name indexes, which the member
  // look-ups below need anyway.
  auto claim = [&](auto& byName, std::size_t index, const std::string& name, DWORD rid,
                   const std::string& where) {
    // Users come first: their names need checking only among themselves.
    const bool user = &byName == &sam.userByName;
    if ((!user && sam.nameTaken(name)) || !byName.emplace(upper(name), index).second) {
      fail(at(where, "name"), "duplicate account name " + quotedText(name));
    }
    if (rid != 0 && !rids.insert(rid).second) {
      fail(at(where, "rid"), "duplicate RID " + std::to_string(rid));
    }
  };
  // RIDs given in the file first, so that the ones handed out skip them.
  const auto& users = array(j, "users", path);
  const auto& groups = array(j, "groups", path);
  const auto& locals = array(j, "localGroups", path);
  const auto& deleted = array(j, "deletedAccounts", path);

  sam.userByName.reserve(users.size());
  rids.reserve(users.size() + groups.size() + locals.size() + deleted.size());
  readUsers(users, at(path, "users"), sam.users);
  for (std::size_t k = 0; k < users.size(); ++k) {
    claim(sam.userByName, k, sam.users[k].name, sam.users[k].rid, at(at(path, "users"), k));
  }
  std::vector<std::vector<std::string>> groupMembers(groups.size());
  for (std::size_t k = 0; k < groups.size(); ++k) {
    const auto where = at(at(path, "groups"), k);
    Group g = readGroup(groups[k], where, groupMembers[k]);
    claim(sam.groupByName, sam.groups.size(), g.name, g.rid, where);
    sam.groups.push_back(std::move(g));
  }
  for (std::size_t k = 0; k < locals.size(); ++k) {
    const auto where = at(at(path, "localGroups"), k);
    LocalGroup g = readLocalGroup(locals[k], where);
    claim(sam.localGroupByName, sam.localGroups.size(), g.name, g.rid, where);
    pending.push_back({&sam, sam.localGroups.size(), readMemberNames(locals[k], where),
                       at(where, "members"), domainOfMachine});
    sam.localGroups.push_back(std::move(g));
  }
  for (std::size_t k = 0; k < deleted.size(); ++k) {
    const auto where = at(at(path, "deletedAccounts"), k);
    DeletedAccount d = readDeleted(deleted[k], where);
    if (!rids.insert(d.rid).second) fail(at(where, "rid"), "duplicate RID " + std::to_string(d.rid));
    sam.deleted.push_back(std::move(d));
  }
  // Hand out RIDs in creation order to accounts written without one.
  auto next = [&]() {
    while (rids.count(sam.nextRid)) ++sam.nextRid;
    rids.insert(sam.nextRid);
    return sam.nextRid++;
  };
  for (auto& u : sam.users) if (u.rid == 0) u.rid = next();
  for (auto& g : sam.groups) if (g.rid == 0) g.rid = next();
  for (auto& g : sam.localGroups) if (g.rid == 0) g.rid = next();
  sam.indexRidsAndViews();
  linkGroupMembers(sam, groupMembers, at(path, "groups"));
}

Json writeSam(const Network& net, const Sam& sam, Json j) {
  j["sid"] = sam.sid.value;
  j["nextRid"] = sam.nextRid;
  j["policy"] = writePolicy(sam.policy);
  Json users = Json::array();
  for (const auto& u : sam.users) users.push_back(writeUser(u));
  j["users"] = std::move(users);
  j["groups"] = writeGroups(sam);
  j["localGroups"] = writeLocalGroups(net, sam);
  Json deleted = Json::array();
  for (const auto& d : sam.deleted) deleted.push_back(writeDeletedAccount(d));
  j["deletedAccounts"] = std::move(deleted);
  return j;
}

const char* accountKindName(AccountKind k) {
  return k == AccountKind::User ? "user" : k == AccountKind::Group ? "group" : "localGroup";
}

Json writeDeletedAccount(const DeletedAccount& d) {
  return Json{{"name", d.name}, {"rid", d.rid}, {"kind", accountKindName(d.kind)}};
}

DeletedAccount readDeletedRecord(const Json& d, const std::string& w) {
  if (!d.is_object()) fail(w, "expected an object");
  const auto kind = recordText(d, "kind", w);
  if (kind != "user" && kind != "group" && kind != "localGroup") {
    fail(w + "/kind", "expected \"user\", \"group\" or \"localGroup\"");
  }
  auto name = recordText(d, "name", w);
  if (name.empty()) fail(w + "/name", "required field is missing");
  const auto rid = recordNumber(d, "rid", w);
  return {std::move(name), rid,
          kind == "group" ? AccountKind::Group
          : kind == "localGroup" ? AccountKind::LocalGroup : AccountKind::User};
}

template void readPolicy(const Json&, const std::string&, Policy&);
template void readPolicy(const SimdValue&, const std::string&, Policy&);
template void readSam(const Json&, const std::string&, Sam&, std::vector<PendingMembers>&,
                      const std::string&);
template void readSam(const SimdValue&, const std::string&, Sam&, std::vector<PendingMembers>&,
                      const std::string&);

}  // namespace lab::json
