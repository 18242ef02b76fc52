#include "platform/lab/resolve.h"

#include <algorithm>
#include <charconv>

namespace lab {

using namespace platform;

namespace {

constexpr std::size_t kMaxComputerName = 15;

bool splitSid(const SID& sid, std::string* prefix, DWORD* rid) {
  const auto dash = sid.value.rfind('-');
  if (dash == std::string::npos || dash + 1 >= sid.value.size()) return false;
  const char* first = sid.value.data() + dash + 1;
  const char* last = sid.value.data() + sid.value.size();
  auto r = std::from_chars(first, last, *rid);
  if (r.ec != std::errc() || r.ptr != last) return false;
  *prefix = sid.value.substr(0, dash);
  return true;
}

// The databases machine `m` resolves names in, in search order.
std::vector<const Sam*> scopesOf(const Network& net, const Machine& m) {
  std::vector<const Sam*> scopes;
  if (m.sam) scopes.push_back(&*m.sam);
  if (const Domain* d = net.findDomain(m.domain)) {
    scopes.push_back(&d->sam);
    for (const auto& t : d->trusts) {
      if (const Domain* td = net.findDomain(t)) scopes.push_back(&td->sam);
    }
  }
  return scopes;
}

AccountRef refTo(const Sam& sam, AccountKind kind, DWORD rid, const std::string& name) {
  AccountRef r;
  r.sam = &sam;
  r.kind = kind;
  r.rid = rid;
  r.name = name;
  r.sid = accountSid(sam, rid, kind);
  r.domain = (kind == AccountKind::LocalGroup && isBuiltinRid(rid)) ? std::string(kBuiltinDomain)
                                                                     : sam.name;
  return r;
}

AccountRef findIn(const Sam& sam, std::string_view name, bool withLocalGroups) {
  if (const User* u = sam.findUser(name)) return refTo(sam, AccountKind::User, u->rid, u->name);
  if (const Group* g = sam.findGroup(name)) return refTo(sam, AccountKind::Group, g->rid, g->name);
  if (withLocalGroups) {
    if (const LocalGroup* g = sam.findLocalGroup(name)) {
      return refTo(sam, AccountKind::LocalGroup, g->rid, g->name);
    }
  }
  return {};
}

}  // namespace

std::string machineNameOf(const Network& net, std::string_view server, DWORD* status) {
  *status = NERR_Success;
  std::string_view name = server;
  // Only the two backslashes of a UNC name may lead; "\NAME" with one is
  // no computer name at all.
  if (name.starts_with("\\\\")) name.remove_prefix(2);
  if (name.empty()) {
    if (!server.empty()) *status = NERR_InvalidComputer;  // "\\" alone names nothing
    return net.localMachine;
  }
  if (name.size() > kMaxComputerName ||
      name.find_first_of("\\/:*?\"<>|,;=+[] \t") != std::string_view::npos) {
    *status = NERR_InvalidComputer;
    return {};
  }
  return std::string(name);
}

const Machine* locate(const Network& net, std::string_view server, std::string_view operation,
                      DWORD* status) {
  const std::string name = machineNameOf(net, server, status);
  if (*status != NERR_Success) return nullptr;
  const Machine* m = net.findMachine(name);
  if (!m || !m->reachable) {
    *status = ERROR_BAD_NETPATH;
    return nullptr;
  }
  if (auto it = m->refusals.find(std::string(operation)); it != m->refusals.end()) {
    *status = it->second;
    return nullptr;
  }
  return m;
}

bool isPrimary(const Network& net, const Machine& m) {
  const Domain* d = net.findDomain(m.domain);
  return d && upper(d->pdc) == upper(m.name);
}

bool isDomainController(const Network& net, const Machine& m) {
  if (isPrimary(net, m)) return true;
  const Domain* d = net.findDomain(m.domain);
  if (!d) return false;
  const auto key = upper(m.name);
  return std::any_of(d->bdcs.begin(), d->bdcs.end(), [&](const auto& b) { return upper(b) == key; });
}

const Sam* samOf(const Network& net, const Machine& m) {
  if (isDomainController(net, m)) return &net.findDomain(m.domain)->sam;
  if (m.sam) return &*m.sam;
  return nullptr;
}

AccountRef findAccount(const Network& net, const Machine& m, std::string_view account) {
  const Sam* home = samOf(net, m);
  const auto scopes = scopesOf(net, m);
  if (auto slash = account.find('\\'); slash != std::string_view::npos) {
    const auto dom = upper(account.substr(0, slash));
    const auto name = account.substr(slash + 1);
    if (dom == kBuiltinDomain) {
      if (!home) return {};
      auto r = findIn(*home, name, true);
      return (r.sam && r.kind == AccountKind::LocalGroup && isBuiltinRid(r.rid)) ? r : AccountRef{};
    }
    for (const Sam* s : scopes) {
      if (upper(s->name) == dom) return findIn(*s, name, s == home);
    }
    return {};
  }
  for (const Sam* s : scopes) {
    auto r = findIn(*s, account, s == home);
    if (r.sam) return r;
  }
  return {};
}

AccountRef findSid(const Network& net, const Machine& m, const SID& sid) {
  std::string prefix;
  DWORD rid = 0;
  if (!splitSid(sid, &prefix, &rid)) return {};
  auto inSam = [&](const Sam& s) -> AccountRef {
    if (const User* u = s.userByRidOrNull(rid)) return refTo(s, AccountKind::User, rid, u->name);
    if (const Group* g = s.groupByRidOrNull(rid)) return refTo(s, AccountKind::Group, rid, g->name);
    for (const auto& g : s.localGroups) {
      if (g.rid == rid && !isBuiltinRid(rid)) return refTo(s, AccountKind::LocalGroup, rid, g.name);
    }
    for (const auto& d : s.deleted) {
      if (d.rid == rid) {
        AccountRef r = refTo(s, d.kind, rid, d.name);
        r.sid = sid;
        r.deleted = true;
        return r;
      }
    }
    return {};
  };
  if (prefix == kBuiltinSid) {
    const Sam* home = samOf(net, m);
    if (!home) return {};
    for (const auto& g : home->localGroups) {
      if (g.rid == rid && isBuiltinRid(rid)) return refTo(*home, AccountKind::LocalGroup, rid, g.name);
    }
    return {};
  }
  for (const auto& d : net.domains) {
    if (d.sam.sid.value == prefix) return inSam(d.sam);
  }
  for (const auto& mm : net.machines) {
    if (mm.sam && mm.sam->sid.value == prefix) return inSam(*mm.sam);
  }
  return {};
}

std::vector<SID> logonSids(const Network& net) {
  std::vector<SID> sids;
  const auto slash = net.loggedOn.find('\\');
  if (slash == std::string::npos) return sids;
  const auto dom = net.loggedOn.substr(0, slash);
  const Sam* sam = nullptr;
  if (const Domain* d = net.findDomain(dom)) sam = &d->sam;
  else if (const Machine* m = net.findMachine(dom); m && m->sam) sam = &*m->sam;
  if (!sam) return sids;
  const User* u = sam->findUser(net.loggedOn.substr(slash + 1));
  if (!u) return sids;
  sids.push_back(accountSid(*sam, u->rid, AccountKind::User));
  for (const auto& g : sam->groups) {
    if (std::find(g.members.begin(), g.members.end(), u->rid) != g.members.end()) {
      sids.push_back(accountSid(*sam, g.rid, AccountKind::Group));
    }
  }
  return sids;
}

Rights rightsOn(const Network& net, const Machine& m) {
  Rights r;
  const Sam* sam = samOf(net, m);
  if (!sam) return r;
  const auto sids = logonSids(net);
  auto holds = [&](DWORD rid) {
    for (const auto& g : sam->localGroups) {
      if (g.rid != rid) continue;
      for (const auto& member : g.members) {
        if (std::find(sids.begin(), sids.end(), member) != sids.end()) return true;
      }
    }
    return false;
  };
  r.administrator = holds(kAdministratorsRid);
  r.accountOperator = holds(kAccountOperatorsRid);
  r.serverOperator = holds(kServerOperatorsRid);
  return r;
}

bool sidCoversUser(const Network& net, const SID& sid, const Sam& userSam, DWORD userRid) {
  (void)net;
  if (sid == accountSid(userSam, userRid, AccountKind::User)) return true;
  for (const auto& g : userSam.groups) {
    if (sid == accountSid(userSam, g.rid, AccountKind::Group) &&
        std::find(g.members.begin(), g.members.end(), userRid) != g.members.end()) {
      return true;
    }
  }
  return false;
}

}  // namespace lab
