#include "platform/lab/journal_records.h"

#include <algorithm>

#include "platform/lab/file_paths.h"
#include "platform/lab/file_tree.h"
#include "platform/lab/json_accounts.h"
#include "platform/lab/json_events.h"
#include "platform/lab/json_fields.h"
#include "platform/lab/json_groups.h"
#include "platform/lab/json_machines.h"
#include "platform/lab/json_registry.h"
#include "platform/lab/json_server.h"
#include "platform/lab/json_session.h"
#include "platform/lab/json_shares.h"
#include "platform/lab/json_users.h"

namespace lab {
namespace {

using json::Json;
using json::Fault;
using json::fail;
using json::gone;
using json::need;
using json::recordFlag;
using json::recordNumber;
using json::recordText;

// Names the database: a domain's or a machine's (their names may coincide).
void putSam(Json& j, const Network& net, const Sam* sam) {
  for (const auto& d : net.domains) {
    if (&d.sam == sam) {
      j["domain"] = d.name;
      return;
    }
  }
  j["machine"] = sam->name;
}

Json recordOf(const Network& net, const ChangeSet::Entry& e) {
  using Kind = ChangeSet::Kind;
  Json j;
  switch (e.kind) {
    case Kind::User: {
      j["t"] = "user";
      putSam(j, net, e.sam);
      j["rid"] = e.rid;
      if (const User* u = e.sam->userByRidOrNull(e.rid)) j["user"] = json::writeUser(*u);
      else j["gone"] = true;
      break;
    }
    case Kind::Group: {
      j["t"] = "group";
      putSam(j, net, e.sam);
      j["rid"] = e.rid;
      if (const Group* g = e.sam->groupByRidOrNull(e.rid)) {
        j["name"] = g->name;
        j["comment"] = g->comment;
        j["attributes"] = g->attributes;
      } else {
        j["gone"] = true;
      }
      break;
    }
    case Kind::Member:
      j["t"] = "member";
      putSam(j, net, e.sam);
      j["group"] = e.rid;
      j["user"] = e.user;
      j["joined"] = e.joined;
      break;
    case Kind::LocalGroup: {
      j["t"] = "localGroup";
      putSam(j, net, e.sam);
      j["rid"] = e.rid;
      auto it = std::find_if(e.sam->localGroups.begin(), e.sam->localGroups.end(),
                             [&](const LocalGroup& g) { return g.rid == e.rid; });
      if (it == e.sam->localGroups.end()) {
        j["gone"] = true;
        break;
      }
      j["name"] = it->name;
      j["comment"] = it->comment;
      j["members"] = json::writeMemberSids(*it);
      break;
    }
    case Kind::Database: {
      j["t"] = "database";
      putSam(j, net, e.sam);
      j["nextRid"] = e.sam->nextRid;
      j["policy"] = json::writePolicy(e.sam->policy);
      break;
    }
    case Kind::Deleted: {
      j["t"] = "deleted";
      putSam(j, net, e.sam);
      Json accounts = Json::array();
      const auto& list = e.sam->deleted;
      const std::size_t n = std::min(e.count, list.size());
      for (std::size_t i = list.size() - n; i < list.size(); ++i) {
        accounts.push_back(json::writeDeletedAccount(list[i]));
      }
      j["accounts"] = std::move(accounts);
      break;
    }
    case Kind::RegistryKey: {
      j["t"] = "key";
      const Hive* hive = nullptr;
      if (e.machine) {
        j["machine"] = e.machine->name;
        j["hive"] = e.hive;
        auto h = e.machine->hives.find(e.hive);
        if (h != e.machine->hives.end()) hive = &h->second;
      } else {
        auto name = net.userHiveNames.find(e.owner);
        j["account"] = name == net.userHiveNames.end() ? e.owner : name->second;
        auto h = net.userHives.find(e.owner);
        if (h != net.userHives.end()) hive = &h->second;
      }
      const RegKeyData* key = nullptr;
      if (hive) {
        auto k = hive->find(e.key);
        if (k != hive->end()) key = &k->second;
      }
      if (!key) {
        j["key"] = e.key;
        j["gone"] = true;
        break;
      }
      j["key"] = key->path;
      Json values = Json::array();
      for (const auto& v : key->values) values.push_back(json::writeValue(v));
      j["values"] = std::move(values);
      break;
    }
    case Kind::Events: {
      j["t"] = "events";
      j["machine"] = e.machine->name;
      Json records = Json::array();
      const auto& log = e.machine->eventLog;
      const std::size_t n = std::min(e.count, log.size());
      for (std::size_t i = log.size() - n; i < log.size(); ++i) records.push_back(json::writeEvent(log[i]));
      j["records"] = std::move(records);
      break;
    }
    case Kind::MachineState: {
      j["t"] = "machine";
      j["machine"] = e.machine->name;
      j["reachable"] = e.machine->reachable;
      j["remoteRegistry"] = e.machine->remoteRegistry;
      j["refuse"] = json::writeRefusals(*e.machine);
      break;
    }
    case Kind::Directory:
      j["t"] = "directory";
      j["machine"] = e.machine->name;
      j["path"] = e.path;
      j["owner"] = e.owner;
      break;
    case Kind::ServerInfo: {
      const Machine& m = *e.machine;
      j["t"] = "server";
      j["machine"] = m.name;
      j["comment"] = m.comment;
      j["type"] = m.type;
      j["browseList"] = m.inBrowseList;
      j["settings"] = json::writeServerSettings(m.server);
      break;
    }
    case Kind::Disconnect:
      j["t"] = "disconnect";
      j["machine"] = e.machine->name;
      j["client"] = e.client;
      j["user"] = e.name;
      break;
    case Kind::Share: {
      j["t"] = "share";
      j["machine"] = e.machine->name;
      if (const Share* share = e.machine->findShare(e.key)) {
        j["share"] = json::writeShare(*share);
      } else {
        j["name"] = e.key;
        j["gone"] = true;
      }
      break;
    }
    case Kind::Session:
      j["t"] = "session";
      j["loggedOn"] = net.loggedOn;
      j["localMachine"] = net.localMachine;
      break;
  }
  return j;
}

// ---- replay ----

// The rules a lab file's databases meet, asked of a replayed account: a
// name the file would take, not used by another account, and a RID no
// other account (or deleted account) has.
void checkAccountName(const Sam& sam, std::string_view name, std::string_view oldName,
                      const std::string& where) {
  if (!json::validAccountName(name)) fail(where, "invalid account name " + platform::quotedText(name));
  if (upper(name) != upper(oldName) && sam.nameTaken(name)) {
    fail(where, "duplicate account name " + platform::quotedText(name));
  }
}

void checkNewRid(const Sam& sam, platform::DWORD rid, const std::string& where) {
  const bool taken =
      rid == 0 || sam.userByRidOrNull(rid) || sam.groupByRidOrNull(rid) ||
      std::any_of(sam.localGroups.begin(), sam.localGroups.end(),
                  [&](const LocalGroup& g) { return g.rid == rid; }) ||
      std::any_of(sam.deleted.begin(), sam.deleted.end(),
                  [&](const DeletedAccount& d) { return d.rid == rid; });
  if (taken) fail(where, "duplicate RID " + std::to_string(rid));
}

Sam& samOf(Network& net, const Json& o, const std::string& where) {
  if (o.contains("domain")) {
    const auto name = recordText(o, "domain", where);
    if (Domain* d = net.findDomain(name)) return d->sam;
    fail(where + "/domain", "no domain " + platform::quotedText(name) + " in the lab");
  }
  const auto name = recordText(o, "machine", where);
  Machine* m = net.findMachine(name);
  if (!m || !m->sam) fail(where + "/machine", "no machine " + platform::quotedText(name) + " with its own accounts");
  return *m->sam;
}

Machine& machineOf(Network& net, const Json& o, const std::string& where) {
  const auto name = recordText(o, "machine", where);
  Machine* m = net.findMachine(name);
  if (!m) fail(where + "/machine", "no machine " + platform::quotedText(name) + " in the lab");
  return *m;
}

void applyOne(Network& net, const Json& o, const std::string& where) {
  if (!o.is_object()) fail(where, "expected an object");
  const auto t = recordText(o, "t", where);
  if (t == "user") {
    Sam& sam = samOf(net, o, where);
    const auto rid = recordNumber(o, "rid", where);
    if (gone(o)) {
      sam.removeUser(rid);
      return;
    }
    User u = json::readUser(need(o, "user", where), where + "/user");
    u.rid = rid;
    const std::size_t at = sam.userIndexOf(rid);
    if (at == Sam::kGone) {
      checkNewRid(sam, rid, where + "/rid");
      checkAccountName(sam, u.name, {}, where + "/user/name");
      sam.addUser(std::move(u));
      return;
    }
    const std::string oldName = sam.users[at].name;
    checkAccountName(sam, u.name, oldName, where + "/user/name");
    sam.users[at] = std::move(u);
    sam.userChanged(at, oldName);
  } else if (t == "group") {
    Sam& sam = samOf(net, o, where);
    const auto rid = recordNumber(o, "rid", where);
    if (gone(o)) {
      sam.removeGroup(rid);
      return;
    }
    auto name = recordText(o, "name", where);
    auto it = sam.groupByRid.find(rid);
    checkAccountName(sam, name, it == sam.groupByRid.end() ? std::string() : sam.groups[it->second].name,
                     where + "/name");
    if (it == sam.groupByRid.end()) {
      checkNewRid(sam, rid, where + "/rid");
      Group g;
      g.name = std::move(name);
      g.rid = rid;
      g.comment = recordText(o, "comment", where);
      g.attributes = recordNumber(o, "attributes", where);
      sam.addGroup(std::move(g));
      return;
    }
    Group& g = sam.groups[it->second];
    g.comment = recordText(o, "comment", where);
    g.attributes = recordNumber(o, "attributes", where);
    if (name != g.name) sam.renameGroup(it->second, std::move(name));
  } else if (t == "member") {
    Sam& sam = samOf(net, o, where);
    auto it = sam.groupByRid.find(recordNumber(o, "group", where));
    if (it == sam.groupByRid.end()) fail(where + "/group", "no such group");
    auto& members = sam.groups[it->second].members;
    const auto user = recordNumber(o, "user", where);
    if (!sam.userByRidOrNull(user)) fail(where + "/user", "no user with RID " + std::to_string(user));
    std::erase(members, user);
    if (recordFlag(o, "joined", where)) members.push_back(user);
  } else if (t == "localGroup") {
    Sam& sam = samOf(net, o, where);
    const auto rid = recordNumber(o, "rid", where);
    if (gone(o)) {
      sam.removeLocalGroup(rid);
      return;
    }
    LocalGroup g;
    g.name = recordText(o, "name", where);
    g.rid = rid;
    g.comment = recordText(o, "comment", where);
    g.members = json::readMemberSids(need(o, "members", where), where + "/members");
    auto it = std::find_if(sam.localGroups.begin(), sam.localGroups.end(),
                           [&](const LocalGroup& x) { return x.rid == rid; });
    checkAccountName(sam, g.name, it == sam.localGroups.end() ? std::string() : it->name,
                     where + "/name");
    if (it == sam.localGroups.end()) {
      checkNewRid(sam, rid, where + "/rid");
      sam.addLocalGroup(std::move(g));
      return;
    }
    const auto i = sam.localGroupIndex(*it);
    auto name = std::move(g.name);
    it->comment = std::move(g.comment);
    it->members = std::move(g.members);
    if (name != it->name) sam.renameLocalGroup(i, std::move(name));
  } else if (t == "database") {
    Sam& sam = samOf(net, o, where);
    sam.nextRid = recordNumber(o, "nextRid", where);
    json::readPolicy(need(o, "policy", where), where + "/policy", sam.policy);
  } else if (t == "deleted") {
    Sam& sam = samOf(net, o, where);
    const Json& accounts = need(o, "accounts", where);
    if (!accounts.is_array()) fail(where + "/accounts", "expected an array");
    for (const auto& d : accounts) {
      const auto w = where + "/accounts";
      DeletedAccount account = json::readDeletedRecord(d, w);
      // The account itself goes later in the same change; that no live
      // account keeps the RID is asked once the journal is replayed.
      if (std::any_of(sam.deleted.begin(), sam.deleted.end(),
                      [&](const DeletedAccount& x) { return x.rid == account.rid; })) {
        fail(w + "/rid", "duplicate RID " + std::to_string(account.rid));
      }
      sam.deleted.push_back(std::move(account));
    }
  } else if (t == "key") {
    Hive* hive = nullptr;
    if (o.contains("account")) {
      const auto account = recordText(o, "account", where);
      const auto owner = upper(account);
      net.userHiveNames.emplace(owner, account);
      hive = &net.userHives[owner];
    } else {
      Machine& m = machineOf(net, o, where);
      const auto name = recordText(o, "hive", where);
      if (!json::knownHive(name)) {
        fail(where + "/hive", "unknown hive " + platform::quotedText(name));
      }
      hive = &m.hives[name];
    }
    const auto path = recordText(o, "key", where);
    if (path.empty()) fail(where + "/key", "required field is missing");
    if (gone(o)) {
      hive->erase(upper(path));
      return;
    }
    RegKeyData key;
    key.path = path;
    const Json& values = need(o, "values", where);
    if (!values.is_array()) fail(where + "/values", "expected an array");
    json::readValues(values, where + "/values", key);
    (*hive)[upper(path)] = std::move(key);
  } else if (t == "events") {
    Machine& m = machineOf(net, o, where);
    const Json& records = need(o, "records", where);
    if (!records.is_array()) fail(where + "/records", "expected an array");
    for (std::size_t i = 0; i < records.size(); ++i) {
      m.eventLog.push_back(json::readEvent(records[i], where + "/records/" + std::to_string(i)));
    }
  } else if (t == "machine") {
    Machine& m = machineOf(net, o, where);
    m.reachable = recordFlag(o, "reachable", where);
    m.remoteRegistry = recordFlag(o, "remoteRegistry", where);
    m.refusals = json::readRefusalsRecord(need(o, "refuse", where), where + "/refuse");
  } else if (t == "directory") {
    Machine& m = machineOf(net, o, where);
    const std::string path = recordText(o, "path", where);
    std::string drive;
    std::vector<std::string> parts;
    const bool split = splitLocalPath(path, &drive, &parts);
    for (const auto& part : parts) {
      if (!validFileName(part)) fail(where + "/path", "invalid file name " + platform::quotedText(part));
    }
    Volume* v = split ? m.findVolume(drive) : nullptr;
    if (!v || parts.empty()) fail(where + "/path", "no volume for " + platform::quotedText(path));
    const std::string owner = recordText(o, "owner", where);
    SID sid;
    const auto slash = owner.find('\\');
    if (slash != std::string::npos) {
      const Sam* sam = nullptr;
      if (const Domain* d = net.findDomain(owner.substr(0, slash))) sam = &d->sam;
      else if (const Machine* mm = net.findMachine(owner.substr(0, slash)); mm && mm->sam) sam = &*mm->sam;
      if (const User* u = sam ? sam->findUser(owner.substr(slash + 1)) : nullptr)
        sid = accountSid(*sam, u->rid, AccountKind::User);
    }
    if (!addDirectoryNode(*v, parts, Principal{owner, sid}))
      fail(where + "/path", "a file stands in the way of " + platform::quotedText(path));
  } else if (t == "server") {
    Machine& m = machineOf(net, o, where);
    m.comment = recordText(o, "comment", where);
    m.type = recordNumber(o, "type", where);
    m.inBrowseList = recordFlag(o, "browseList", where);
    m.server = json::readServerSettings(need(o, "settings", where), where + "/settings");
  } else if (t == "disconnect") {
    Machine& m = machineOf(net, o, where);
    m.endSessions(recordText(o, "client", where), recordText(o, "user", where));
  } else if (t == "share") {
    Machine& m = machineOf(net, o, where);
    if (gone(o)) {
      const std::string name = upper(recordText(o, "name", where));
      std::erase_if(m.shares, [&](const Share& s) { return upper(s.name) == name; });
      return;
    }
    Share share = json::readShare(need(o, "share", where), where + "/share");
    if (Share* old = m.findShare(share.name)) {
      *old = std::move(share);
    } else {
      m.shares.push_back(std::move(share));
    }
  } else if (t == "session") {
    net.loggedOn = recordText(o, "loggedOn", where);
    net.localMachine = recordText(o, "localMachine", where);
  } else {
    fail(where + "/t", "unknown kind of entry " + platform::quotedText(t));
  }
}

}  // namespace

std::string encodeChanges(const Network& net, const ChangeSet& changes) {
  Json entries = Json::array();
  for (const auto& e : changes.entries()) entries.push_back(recordOf(net, e));
  Json record;
  record["changes"] = std::move(entries);
  return record.dump();
}

bool applyChanges(Network& net, std::string_view text, std::string* error) {
  try {
    const Json record = Json::parse(text.begin(), text.end());
    if (!record.is_object() || !record.contains("changes") || !record["changes"].is_array()) {
      fail("/changes", "expected an array of changed entities");
    }
    const Json& entries = record["changes"];
    for (std::size_t i = 0; i < entries.size(); ++i) {
      applyOne(net, entries[i], "/changes/" + std::to_string(i));
    }
  } catch (const Fault& f) {
    if (error) *error = f.where + ": " + f.what;
    return false;
  } catch (const std::exception& e) {
    if (error) *error = "malformed JSON: " + platform::messageText(e.what(), platform::kWholeMessageChars);
    return false;
  }
  return true;
}

bool checkReplayedNetwork(const Network& net, std::string* error) {
  auto failWith = [&](std::string text) {
    if (error) *error = std::move(text);
    return false;
  };
  try {
    json::checkSession(net);
  } catch (const Fault& f) {
    return failWith(f.where + ": " + f.what);
  }
  auto deletedStayDeleted = [&](const Sam& s, const std::string& where) {
    for (const auto& d : s.deleted) {
      if (s.userByRidOrNull(d.rid) || s.groupByRidOrNull(d.rid) ||
          std::any_of(s.localGroups.begin(), s.localGroups.end(),
                      [&](const LocalGroup& g) { return g.rid == d.rid; })) {
        return failWith(where + ": deleted account " + platform::quotedText(d.name) + ": duplicate RID " +
                        std::to_string(d.rid));
      }
    }
    return true;
  };
  for (const auto& d : net.domains) {
    if (!deletedStayDeleted(d.sam, "/domains/" + d.name)) return false;
  }
  for (const auto& m : net.machines) {
    if (m.sam && !deletedStayDeleted(*m.sam, "/machines/" + m.name)) return false;
  }
  return true;
}

}  // namespace lab
