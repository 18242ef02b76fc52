#include "platform/lab/json_machines.h"

#include <set>

#include "platform/lab/json_accounts.h"
#include "platform/lab/json_events.h"
#include "platform/lab/json_fields.h"
#include "platform/lab/json_registry.h"
#include "platform/lab/json_server.h"
#include "platform/lab/json_shares.h"
#include "platform/lab/lab_files_json.h"
#include "platform/lab/lab_json.h"

namespace lab::json {
namespace {

using namespace platform;

constexpr NamedBit kServerTypes[] = {
    {"SV_TYPE_WORKSTATION", SV_TYPE_WORKSTATION},
    {"SV_TYPE_SERVER", SV_TYPE_SERVER},
    {"SV_TYPE_SQLSERVER", SV_TYPE_SQLSERVER},
    {"SV_TYPE_DOMAIN_CTRL", SV_TYPE_DOMAIN_CTRL},
    {"SV_TYPE_DOMAIN_BAKCTRL", SV_TYPE_DOMAIN_BAKCTRL},
    {"SV_TYPE_TIME_SOURCE", SV_TYPE_TIME_SOURCE},
    {"SV_TYPE_AFP", SV_TYPE_AFP},
    {"SV_TYPE_NOVELL", SV_TYPE_NOVELL},
    {"SV_TYPE_DOMAIN_MEMBER", SV_TYPE_DOMAIN_MEMBER},
    {"SV_TYPE_PRINTQ_SERVER", SV_TYPE_PRINTQ_SERVER},
    {"SV_TYPE_DIALIN_SERVER", SV_TYPE_DIALIN_SERVER},
    {"SV_TYPE_SERVER_UNIX", SV_TYPE_SERVER_UNIX},
    {"SV_TYPE_NT", SV_TYPE_NT},
    {"SV_TYPE_WFW", SV_TYPE_WFW},
    {"SV_TYPE_SERVER_MFPN", SV_TYPE_SERVER_MFPN},
    {"SV_TYPE_SERVER_NT", SV_TYPE_SERVER_NT},
    {"SV_TYPE_POTENTIAL_BROWSER", SV_TYPE_POTENTIAL_BROWSER},
    {"SV_TYPE_BACKUP_BROWSER", SV_TYPE_BACKUP_BROWSER},
    {"SV_TYPE_MASTER_BROWSER", SV_TYPE_MASTER_BROWSER},
    {"SV_TYPE_DOMAIN_MASTER", SV_TYPE_DOMAIN_MASTER},
    {"SV_TYPE_SERVER_OSF", SV_TYPE_SERVER_OSF},
    {"SV_TYPE_SERVER_VMS", SV_TYPE_SERVER_VMS},
    {"SV_TYPE_WINDOWS", SV_TYPE_WINDOWS},
    {"SV_TYPE_DFS", SV_TYPE_DFS},
};

bool validComputerName(std::string_view name) {
  return !name.empty() && name.size() <= 15 &&
         name.find_first_of("\\/ .*?\"<>|:;,+=[]") == std::string_view::npos;
}

// A browse list: machine names (their own figures) or whole entries.
template <class J>
std::vector<BrowseEntry> readBrowses(const J& a, const std::string& path) {
  std::vector<BrowseEntry> out;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto where = at(path, i);
    BrowseEntry e;
    if (a[i].is_string()) {
      e.name = a[i].template get<std::string>();
      e.byName = true;
    } else {
      expectObject(a[i], where,
                   {"name", "comment", "type", "platformId", "versionMajor", "versionMinor"});
      e.name = text(a[i], "name", where, true);
      e.comment = text(a[i], "comment", where);
      e.type = bits(a[i], "type", where, SV_TYPE_WORKSTATION | SV_TYPE_NT, kServerTypes);
      e.platformId = number(a[i], "platformId", where, PLATFORM_ID_NT);
      e.versionMajor = number(a[i], "versionMajor", where, 4);
      e.versionMinor = number(a[i], "versionMinor", where, 0);
    }
    if (!validComputerName(e.name)) fail(where, "invalid computer name " + quotedText(e.name));
    if (!seen.insert(upper(e.name)).second) fail(where, quotedText(e.name) + " is listed twice");
    out.push_back(std::move(e));
  }
  return out;
}

Json writeBrowses(const std::vector<BrowseEntry>& entries) {
  Json a = Json::array();
  for (const auto& e : entries) {
    if (e.byName) {
      a.push_back(e.name);
      continue;
    }
    a.push_back(Json{{"name", e.name}, {"comment", e.comment},
                     {"type", bitNames(e.type, kServerTypes)}, {"platformId", e.platformId},
                     {"versionMajor", e.versionMajor}, {"versionMinor", e.versionMinor}});
  }
  return a;
}

}  // namespace

template <class J>
Machine readMachine(const J& j, const std::string& path,
                    std::vector<std::pair<std::string, J>>& samsToRead) {
  expectObject(j, path,
               {"name", "domain", "comment", "type", "platformId", "versionMajor", "versionMinor",
                "reachable", "remoteRegistry", "browseList", "browses", "serverEnumLimit",
                "refuse", "userOrder", "accounts", "shares", "server", "sessions", "link", "registry",
                "eventLog", "volumes"});
  Machine m;
  m.name = text(j, "name", path, true);
  if (m.name.empty() || m.name.size() > 15 || m.name.find_first_of("\\/ .*?\"<>|:;,+=[]") != std::string::npos) {
    fail(at(path, "name"), "invalid computer name " + quotedText(m.name));
  }
  m.domain = text(j, "domain", path, true);
  m.comment = text(j, "comment", path);
  m.type = bits(j, "type", path, SV_TYPE_WORKSTATION | SV_TYPE_NT, kServerTypes);
  m.platformId = number(j, "platformId", path, PLATFORM_ID_NT);
  m.versionMajor = number(j, "versionMajor", path, 4);
  m.versionMinor = number(j, "versionMinor", path, 0);
  m.reachable = boolean(j, "reachable", path, true);
  m.remoteRegistry = boolean(j, "remoteRegistry", path, true);
  m.inBrowseList = boolean(j, "browseList", path, true);
  if (const auto r = field(j, "refuse")) {
    const auto where = at(path, "refuse");
    if (!r->is_object()) fail(where, "expected an object of operation names and status codes");
    for (auto it = r->begin(); it != r->end(); ++it) {
      m.refusals[it.key()] = number(*it, at(where, it.key()));
    }
  }
  if (field(j, "userOrder")) m.userOrder = texts(j, "userOrder", path);
  if (field(j, "browses")) m.browses = readBrowses(array(j, "browses", path), at(path, "browses"));
  m.serverEnumLimit = number(j, "serverEnumLimit", path, 0);
  if (const auto a = field(j, "accounts")) samsToRead.emplace_back(at(path, "accounts"), *a);
  m.shares = readShares(array(j, "shares", path), at(path, "shares"));
  if (const auto sv = field(j, "server")) m.server = readServerSettings(*sv, at(path, "server"));
  const auto& sessions = array(j, "sessions", path);
  for (std::size_t k = 0; k < sessions.size(); ++k) {
    m.sessions.push_back(readSession(sessions[k], at(at(path, "sessions"), k)));
  }
  numberOpenFiles(m, path);
  if (const auto l = field(j, "link")) {
    const auto where = at(path, "link");
    expectObject(*l, where, {"speed", "delay", "optDataSize", "flags"});
    m.link.speed = number(*l, "speed", where, m.link.speed);
    m.link.delay = number(*l, "delay", where, m.link.delay);
    m.link.optDataSize = number(*l, "optDataSize", where, m.link.optDataSize);
    m.link.flags = number(*l, "flags", where, m.link.flags);
  }
  readKeys(array(j, "registry", path), at(path, "registry"), m.hives["HKEY_LOCAL_MACHINE"], true,
           &m.hives);
  const auto& log = array(j, "eventLog", path);
  for (std::size_t k = 0; k < log.size(); ++k) {
    const auto where = at(at(path, "eventLog"), k);
    m.eventLog.push_back(readEvent(log[k], where));
  }
  // File trees are read by one reader, whichever read the rest.
  if (const auto v = field(j, "volumes")) {
    if constexpr (std::is_same_v<J, Json>) m.volumes = readVolumes(*v, at(path, "volumes"));
    else m.volumes = readVolumes(Json::parse(v->minified()), at(path, "volumes"));
  }
  return m;
}

template <class J>
void readMachineAccounts(const Network& net, Machine& m,
                         const std::vector<std::pair<std::string, J>>& accounts,
                         std::vector<PendingMembers>& pending) {
  for (const auto& [where, j] : accounts) {
    if (isDomainController(net, m)) fail(where, "a domain controller uses its domain's accounts");
    if (!(m.type & SV_TYPE_NT)) fail(where, "only a Windows NT machine keeps its own accounts");
    expectObject(j, where, {"sid", "nextRid", "policy", "users", "groups", "localGroups",
                            "deletedAccounts"});
    m.sam.emplace();
    m.sam->name = m.name;
    m.sam->sid = machineSid(m.name);
    readSam(j, where, *m.sam, pending, m.domain);
  }
}

Json writeMachine(const Network& net, const Machine& m) {
  Json j;
  j["name"] = m.name;
  j["domain"] = m.domain;
  j["comment"] = m.comment;
  j["type"] = bitNames(m.type, kServerTypes);
  j["platformId"] = m.platformId;
  j["versionMajor"] = m.versionMajor;
  j["versionMinor"] = m.versionMinor;
  if (!m.reachable) j["reachable"] = false;
  if (!m.remoteRegistry) j["remoteRegistry"] = false;
  if (!m.inBrowseList) j["browseList"] = false;
  if (!m.refusals.empty()) j["refuse"] = writeRefusals(m);
  if (m.userOrder) j["userOrder"] = *m.userOrder;
  if (m.browses) j["browses"] = writeBrowses(*m.browses);
  if (m.serverEnumLimit != 0) j["serverEnumLimit"] = m.serverEnumLimit;
  if (m.sam) j["accounts"] = writeSam(net, *m.sam, Json::object());
  if (!m.shares.empty()) j["shares"] = writeShares(m.shares);
  if (m.server != ServerSettings{}) j["server"] = writeServerSettings(m.server);
  if (m.link != LinkFigures{}) {
    j["link"] = Json{{"speed", m.link.speed}, {"delay", m.link.delay},
                     {"optDataSize", m.link.optDataSize}, {"flags", m.link.flags}};
  }
  if (!m.sessions.empty()) {
    Json sessions = Json::array();
    for (const auto& x : m.sessions) sessions.push_back(writeSession(x));
    j["sessions"] = std::move(sessions);
  }
  Json reg = Json::array();
  for (const auto& [hiveName, hive] : m.hives) {
    for (auto& k : writeKeys(hive, hiveName.c_str())) reg.push_back(k);
  }
  j["registry"] = std::move(reg);
  Json log = Json::array();
  for (const auto& e : m.eventLog) log.push_back(writeEvent(e));
  j["eventLog"] = std::move(log);
  if (!m.volumes.empty()) j["volumes"] = writeVolumes(m.volumes);
  return j;
}

bool isDomainController(const Network& net, const Machine& m) {
  const Domain* d = net.findDomain(m.domain);
  if (!d) return false;
  if (upper(d->pdc) == upper(m.name)) return true;
  for (const auto& b : d->bdcs) if (upper(b) == upper(m.name)) return true;
  return false;
}

void checkBrowseLists(const Network& net) {
  for (std::size_t k = 0; k < net.machines.size(); ++k) {
    const auto& m = net.machines[k];
    if (!m.browses) continue;
    for (std::size_t i = 0; i < m.browses->size(); ++i) {
      const auto& e = (*m.browses)[i];
      if (e.byName && !net.findMachine(e.name)) {
        fail(at(at(at("/machines", k), "browses"), i), "no machine " + quotedText(e.name) + " in /machines");
      }
    }
  }
}

void checkUserOrders(const Network& net) {
  for (std::size_t k = 0; k < net.machines.size(); ++k) {
    const auto& m = net.machines[k];
    if (!m.userOrder) continue;
    const auto where = at(at("/machines", k), "userOrder");
    if (!isDomainController(net, m)) fail(where, "only a domain controller has its own user order");
    const Sam& sam = net.findDomain(m.domain)->sam;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < m.userOrder->size(); ++i) {
      const auto& n = (*m.userOrder)[i];
      if (!sam.findUser(n)) fail(at(where, i), "no user " + quotedText(n) + " in " + sam.name);
      if (!seen.insert(upper(n)).second) fail(at(where, i), quotedText(n) + " is listed twice");
    }
  }
}

std::map<std::string, DWORD> readRefusalsRecord(const Json& refuse, const std::string& where) {
  if (!refuse.is_object()) fail(where, "expected an object");
  std::map<std::string, DWORD> out;
  for (auto it = refuse.begin(); it != refuse.end(); ++it) {
    if (!it->is_number_unsigned()) fail(where + "/" + it.key(), "expected a status code");
    out[it.key()] = it->get<DWORD>();
  }
  return out;
}

Json writeRefusals(const Machine& m) {
  Json r = Json::object();
  for (const auto& [op, st] : m.refusals) r[op] = st;
  return r;
}

template Machine readMachine(const Json&, const std::string&,
                             std::vector<std::pair<std::string, Json>>&);
template Machine readMachine(const SimdValue&, const std::string&,
                             std::vector<std::pair<std::string, SimdValue>>&);
template void readMachineAccounts(const Network&, Machine&,
                                  const std::vector<std::pair<std::string, Json>>&,
                                  std::vector<PendingMembers>&);
template void readMachineAccounts(const Network&, Machine&,
                                  const std::vector<std::pair<std::string, SimdValue>>&,
                                  std::vector<PendingMembers>&);

}  // namespace lab::json
