// The lab backend: machines and the browse list, look-ups, event log,
// dial-in settings and the local system.

#include "platform/lab/lab_backend.h"

#include <algorithm>

#include "platform/paging.h"
#include "platform/lab/resolve.h"
#include "platform/lab/text_rules.h"

namespace lab {

using namespace platform;

DWORD LabBackend::change(const std::function<DWORD(Network&, ChangeSet&)>& f) {
  DWORD status = NERR_Success;
  const bool saved = m_lab->write([&](Network& net, ChangeSet& changes) {
    status = f(net, changes);
    return status == NERR_Success;
  });
  {
    std::lock_guard lock(m_handleMutex);
    m_accessSidsFor = {};
  }
  return saved ? status : ERROR_WRITE_FAULT;
}

DWORD LabBackend::query(const std::function<DWORD(const Network&)>& f) const {
  DWORD status = NERR_Success;
  m_lab->read([&](const Network& net) { status = f(net); });
  return status;
}

std::shared_ptr<Backend> makeLabBackend(std::shared_ptr<Lab> lab) {
  return Backend::servedBy(std::make_shared<LabBackend>(std::move(lab)));
}

BackendFactory labBackendFactory() {
  return [](const BackendOptions& options, std::string* error) -> std::shared_ptr<Backend> {
    std::string path;
    if (auto it = options.find("file"); it != options.end()) path = it->second;
    if (path.empty()) {
      path = ensureDefaultLab(error);
      if (path.empty()) return nullptr;
    }
    std::shared_ptr<Lab> loaded = loadLabFile(path, error);
    if (!loaded) return nullptr;
    return makeLabBackend(std::move(loaded));
  };
}

// ---- servers ----

DWORD LabBackend::NetServerEnum(std::string_view server, DWORD level, NetBuffer& buf,
                                DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                                DWORD servertype, std::string_view domain, DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 100 && level != 101) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* at = locate(net, server, "NetServerEnum", &status);
    if (!at) return status;
    struct Entry {
      std::string name;
      DWORD platformId, major, minor, type;
      std::string comment;
    };
    std::vector<Entry> list;
    if (servertype == SV_TYPE_DOMAIN_ENUM) {
      for (const auto& d : net.domains) {
        list.push_back({d.name, PLATFORM_ID_NT, 4, 0, SV_TYPE_DOMAIN_ENUM | SV_TYPE_NT, {}});
      }
    } else if (at->browses && (domain.empty() || upper(domain) == upper(at->domain))) {
      // The machine's own browse list, in its own order.
      for (const auto& e : *at->browses) {
        Entry entry{e.name, e.platformId, e.versionMajor, e.versionMinor, e.type, e.comment};
        if (e.byName) {
          const Machine* m = net.findMachine(e.name);
          if (!m) continue;
          entry = {m->name, m->platformId, m->versionMajor, m->versionMinor, m->type, m->comment};
        }
        if ((entry.type & servertype) != 0) list.push_back(std::move(entry));
      }
    } else {
      const std::string wanted = upper(domain.empty() ? at->domain : domain);
      for (const auto& m : net.machines) {
        if (!m.inBrowseList || upper(m.domain) != wanted) continue;
        if ((m.type & servertype) == 0) continue;
        list.push_back({m.name, m.platformId, m.versionMajor, m.versionMinor, m.type, m.comment});
      }
      std::sort(list.begin(), list.end(),
                [](const Entry& a, const Entry& b) { return upper(a.name) < upper(b.name); });
    }
    // A browser capped by the lab answers only part of its list per call.
    const std::size_t known = list.size();
    const std::size_t start = resume ? *resume : 0;
    const bool capped = at->serverEnumLimit != 0 && known > start + at->serverEnumLimit;
    if (capped) list.resize(start + at->serverEnumLimit);
    DWORD st = 0;
    DWORD read = 0;
    if (level == 100) {
      st = pageEnum<SERVER_INFO_100>(buf, list.size(), prefmaxlen, &read, totalentries,
                                     resume, [&](std::size_t i) {
                                       return SERVER_INFO_100{list[i].platformId, list[i].name};
                                     });
    } else {
      st = pageEnum<SERVER_INFO_101>(buf, list.size(), prefmaxlen, &read, totalentries,
                                     resume, [&](std::size_t i) {
                                       const auto& e = list[i];
                                       return SERVER_INFO_101{e.platformId, e.name, e.major,
                                                              e.minor, e.type, e.comment};
                                     });
    }
    if (entriesread) *entriesread = read;
    // The browse list reports every server it knows, not just the rest.
    if (totalentries) *totalentries = static_cast<DWORD>(known);
    if (capped) {
      if (resume) *resume = static_cast<DWORD>(start + read);
      return ERROR_MORE_DATA;
    }
    return st;
  });
}

DWORD LabBackend::NetServerGetInfo(std::string_view server, DWORD level, NetBuffer& buf) {
  buf.reset();
  if (level != 100 && level != 101 && level != 102) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "NetServerGetInfo", &status);
    if (!m) return status;
    if (level == 102) {
      // The server's settings are for its administrators and server operators.
      const Rights r = rightsOn(net, *m);
      if (!r.administrator && !r.serverOperator) return ERROR_ACCESS_DENIED;
      const auto& s = m->server;
      buf.emplace<SERVER_INFO_102>().push_back(
          {m->platformId, m->name, m->versionMajor, m->versionMinor, m->type, m->comment, s.users,
           s.disc, m->inBrowseList ? 0u : 1u, s.announce, s.anndelta, 0, s.userpath});
    } else if (level == 100) {
      buf.emplace<SERVER_INFO_100>().push_back({m->platformId, m->name});
    } else {
      buf.emplace<SERVER_INFO_101>().push_back(
          {m->platformId, m->name, m->versionMajor, m->versionMinor, m->type, m->comment});
    }
    return NERR_Success;
  });
}

DWORD LabBackend::NetGetDCName(std::string_view server, std::string_view domain,
                               std::string* name) {
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "NetGetDCName", &status);
    if (!m) return status;
    const Domain* d = net.findDomain(domain.empty() ? std::string_view(m->domain) : domain);
    if (!d || d->pdc.empty()) return NERR_DCNotFound;
    const Machine* pdc = net.findMachine(d->pdc);
    if (!pdc || !pdc->reachable) return NERR_DCNotFound;
    if (name) *name = "\\\\" + pdc->name;
    return NERR_Success;
  });
}

DWORD LabBackend::NetWkstaGetInfo(std::string_view server, DWORD level, NetBuffer& buf) {
  buf.reset();
  if (level != 100) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "NetWkstaGetInfo", &status);
    if (!m) return status;
    buf.emplace<WKSTA_INFO_100>().push_back(
        {m->platformId, m->name, m->domain, m->versionMajor & 0x0F, m->versionMinor});
    return NERR_Success;
  });
}

// ---- look-ups ----

namespace {

SID_NAME_USE useOf(const AccountRef& r) {
  if (r.deleted) return SidTypeDeletedAccount;
  switch (r.kind) {
    case AccountKind::User: return SidTypeUser;
    case AccountKind::Group: return SidTypeGroup;
    case AccountKind::LocalGroup: return SidTypeAlias;
  }
  return SidTypeUnknown;
}

}  // namespace

DWORD LabBackend::LookupAccountName(std::string_view system, std::string_view account, SID* sid,
                                    std::string* domain, SID_NAME_USE* use) {
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, system, "LookupAccountName", &status);
    if (!m) return status == NERR_InvalidComputer ? ERROR_BAD_NETPATH : status;
    // A domain's own name stands for the domain.
    if (account.find('\\') == std::string_view::npos) {
      if (const Domain* d = net.findDomain(account)) {
        if (sid) *sid = d->sam.sid;
        if (domain) *domain = d->name;
        if (use) *use = SidTypeDomain;
        return ERROR_SUCCESS;
      }
    }
    if (const WellKnownSid* w = wellKnownByName(account)) {
      if (sid) *sid = SID{std::string(w->sid)};
      if (domain) *domain = w->domain;
      if (use) *use = SidTypeWellKnownGroup;
      return ERROR_SUCCESS;
    }
    const AccountRef r = findAccount(net, *m, account);
    if (!r.sam) return ERROR_NONE_MAPPED;
    if (sid) *sid = r.sid;
    if (domain) *domain = r.domain;
    if (use) *use = useOf(r);
    return ERROR_SUCCESS;
  });
}

DWORD LabBackend::LookupAccountSid(std::string_view system, const SID& sid, std::string* name,
                                   std::string* domain, SID_NAME_USE* use) {
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, system, "LookupAccountSid", &status);
    if (!m) return status == NERR_InvalidComputer ? ERROR_BAD_NETPATH : status;
    for (const auto& d : net.domains) {
      if (d.sam.sid == sid) {
        if (name) *name = d.name;
        if (domain) *domain = d.name;
        if (use) *use = SidTypeDomain;
        return ERROR_SUCCESS;
      }
    }
    if (const WellKnownSid* w = wellKnownBySid(sid.value)) {
      if (name) *name = w->name;
      if (domain) *domain = w->domain;
      if (use) *use = SidTypeWellKnownGroup;
      return ERROR_SUCCESS;
    }
    const AccountRef r = findSid(net, *m, sid);
    if (!r.sam) return ERROR_NONE_MAPPED;
    if (name) *name = r.name;
    if (domain) *domain = r.domain;
    if (use) *use = useOf(r);
    return ERROR_SUCCESS;
  });
}

// ---- event log ----

HANDLE LabBackend::RegisterEventSource(std::string_view server, std::string_view source) {
  std::string machine;
  const DWORD status = query([&](const Network& net) -> DWORD {
    DWORD st = 0;
    const Machine* m = locate(net, server, "RegisterEventSource", &st);
    if (!m) return st;
    machine = m->name;
    return NERR_Success;
  });
  if (status != NERR_Success || source.empty()) return 0;
  std::lock_guard lock(m_handleMutex);
  const HANDLE h = m_nextHandle++;
  m_eventSources.emplace(h, std::make_pair(machine, std::string(source)));
  return h;
}

BOOL LabBackend::DeregisterEventSource(HANDLE log) {
  std::lock_guard lock(m_handleMutex);
  return m_eventSources.erase(log) ? 1 : 0;
}

BOOL LabBackend::ReportEvent(HANDLE log, WORD type, WORD category, DWORD eventid,
                             const std::vector<std::string>& strings) {
  std::pair<std::string, std::string> source;
  {
    std::lock_guard lock(m_handleMutex);
    auto it = m_eventSources.find(log);
    if (it == m_eventSources.end()) return 0;
    source = it->second;
  }
  // A report the event log could not write back is refused, as one too long would be.
  for (const auto& text : strings) {
    if (!isWritableText(text)) return 0;
  }
  const auto when = m_lab->now();
  const DWORD status = change([&](Network& net, ChangeSet& changes) -> DWORD {
    Machine* m = net.findMachine(source.first);
    if (!m || !m->reachable) return ERROR_BAD_NETPATH;
    m->eventLog.push_back(EventRecord{source.second, type, category, eventid, strings, when});
    changes.event(*m);
    return NERR_Success;
  });
  return status == NERR_Success ? 1 : 0;
}

DWORD LabBackend::ReadEventLog(std::string_view server, std::vector<EventRecord>* records) {
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "ReadEventLog", &status);
    if (!m) return status;
    if (records) *records = m->eventLog;
    return NERR_Success;
  });
}

// ---- dial-in ----

namespace {

// The account's database on the machine the library was pointed at.
template <class Net>
auto dialinUser(Net& net, std::string_view server, std::string_view account, DWORD* status)
    -> decltype(net.domains.front().sam.findUser("")) {
  auto* m = locate(net, server, "GetRAS", status);
  if (!m) return nullptr;
  auto* sam = samOf(net, *m);
  if (!sam) return nullptr;
  return sam->findUser(account);
}

}  // namespace

int LabBackend::GetRASQuick(std::string_view server, std::string_view account,
                            DWORD* permission, std::string* number, DWORD* type) {
  return GetRAS(server, account, permission, number, type);
}

int LabBackend::GetRAS(std::string_view server, std::string_view account, DWORD* allowed,
                       std::string* number, DWORD* type) {
  int ok = 0;
  query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const User* u = dialinUser(net, server, account, &status);
    if (!u) return 0;
    if (allowed) *allowed = u->dialin.allowed ? 1 : 0;
    if (number) *number = u->dialin.callbackNumber;
    if (type) *type = u->dialin.callbackType;
    ok = 1;
    return 0;
  });
  return ok;
}

int LabBackend::DoRAS(std::string_view server, std::string_view account, DWORD allowed,
                      std::string_view number, DWORD type) {
  const DWORD status = change([&](Network& net, ChangeSet& changes) -> DWORD {
    DWORD st = 0;
    Machine* m = locate(net, server, "DoRAS", &st);
    if (!m) return st;
    if (isDomainController(net, *m) && !isPrimary(net, *m)) return NERR_NotPrimary;
    if (!rightsOn(net, *m).canManageAccounts()) return ERROR_ACCESS_DENIED;
    User* u = dialinUser(net, server, account, &st);
    if (!u) return NERR_UserNotFound;
    Dialin dialin;
    dialin.allowed = allowed != 0;
    dialin.callbackNumber = std::string(number);
    // The library keeps only the three types it knows; others mean none.
    dialin.callbackType = type <= RAS_CALLBACK_USER_SET ? type : RAS_CALLBACK_NONE;
    if (u->dialin == dialin) return NERR_Success;
    u->dialin = std::move(dialin);
    changes.user(*samOf(net, *m), u->rid);
    return NERR_Success;
  });
  return status == NERR_Success ? 1 : 0;
}

// ---- system ----

BOOL LabBackend::GetVersionEx(OSVERSIONINFOA* info) {
  if (!info) return 0;
  query([&](const Network& net) -> DWORD {
    *info = net.system.version;
    info->dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
    return 0;
  });
  return 1;
}

BOOL LabBackend::GetUserName(std::string* name) {
  if (!name) return 0;
  const auto account = m_lab->loggedOn();
  const auto slash = account.find('\\');
  *name = slash == std::string::npos ? account : account.substr(slash + 1);
  return 1;
}

BOOL LabBackend::GetComputerName(std::string* name) {
  if (!name) return 0;
  *name = m_lab->localMachine();
  return 1;
}

}  // namespace lab
