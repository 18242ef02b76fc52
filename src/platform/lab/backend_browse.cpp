// The lab's servers part: the browse list, server and workstation
// information, and domain controllers.

#include "platform/lab/lab_servers.h"

#include <algorithm>

#include "platform/paging.h"
#include "platform/lab/resolve.h"
#include "platform/lab/text_rules.h"

namespace lab {

using namespace platform;

// ---- servers ----

DWORD LabServers::NetServerEnum(std::string_view server, DWORD level, NetBuffer& buf,
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

DWORD LabServers::NetServerGetInfo(std::string_view server, DWORD level, NetBuffer& buf) {
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

DWORD LabServers::NetGetDCName(std::string_view server, std::string_view domain,
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

DWORD LabServers::NetWkstaGetInfo(std::string_view server, DWORD level, NetBuffer& buf) {
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

}  // namespace lab
