#include "platform/lab/network_tree.h"

#include <algorithm>

#include "platform/lab/resolve.h"
#include "platform/resource_enumerations.h"

namespace lab {
namespace {

using namespace platform;

constexpr std::string_view kOpen = "WNetOpenEnum";

std::vector<NETRESOURCE> providers(const Network& net) {
  std::vector<NETRESOURCE> out;
  out.push_back(windowsNetworkContainer(RESOURCEDISPLAYTYPE_NETWORK,
                                        std::string(kWindowsNetworkProvider), {}));
  for (const auto& name : net.networkProviders) {
    NETRESOURCE p = windowsNetworkContainer(RESOURCEDISPLAYTYPE_NETWORK, name, {});
    p.lpProvider = name;
    out.push_back(std::move(p));
  }
  return out;
}

// Domains and workgroups alike: a workgroup is a domain without controller.
std::vector<NETRESOURCE> domains(const Network& net) {
  std::vector<const Domain*> sorted;
  for (const auto& d : net.domains) sorted.push_back(&d);
  std::sort(sorted.begin(), sorted.end(),
            [](const Domain* a, const Domain* b) { return upper(a->name) < upper(b->name); });
  std::vector<NETRESOURCE> out;
  for (const Domain* d : sorted)
    out.push_back(windowsNetworkContainer(RESOURCEDISPLAYTYPE_DOMAIN, d->name, {}));
  return out;
}

// As the domain's master browser (its primary controller) lists them; a
// workgroup, or a controller without a list of its own, lists every
// machine of the domain that shows in browse lists.
std::vector<NETRESOURCE> servers(const Network& net, const Domain& d) {
  std::vector<NETRESOURCE> out;
  const Machine* master = d.pdc.empty() ? nullptr : net.findMachine(d.pdc);
  if (master && master->browses) {
    for (const auto& e : *master->browses) {
      const Machine* m = e.byName ? net.findMachine(e.name) : nullptr;
      if (e.byName && !m) continue;
      out.push_back(windowsNetworkContainer(
          RESOURCEDISPLAYTYPE_SERVER, "\\\\" + (m ? m->name : e.name), m ? m->comment : e.comment));
    }
    return out;
  }
  std::vector<const Machine*> listed;
  for (const auto& m : net.machines) {
    if (m.inBrowseList && upper(m.domain) == upper(d.name)) listed.push_back(&m);
  }
  std::sort(listed.begin(), listed.end(),
            [](const Machine* a, const Machine* b) { return upper(a->name) < upper(b->name); });
  for (const Machine* m : listed) {
    out.push_back(
        windowsNetworkContainer(RESOURCEDISPLAYTYPE_SERVER, "\\\\" + m->name, m->comment));
  }
  return out;
}

// Disk and print shares; hidden ones and IPC are not browsed.
std::vector<NETRESOURCE> shares(const Machine& m) {
  std::vector<NETRESOURCE> out;
  for (const auto& s : m.shares) {
    if (isHiddenShare(s.name) || s.type == ShareType::Ipc) continue;
    NETRESOURCE r;
    r.dwType = s.type == ShareType::Print ? RESOURCETYPE_PRINT : RESOURCETYPE_DISK;
    r.dwDisplayType = RESOURCEDISPLAYTYPE_SHARE;
    r.dwUsage = RESOURCEUSAGE_CONNECTABLE;
    r.lpRemoteName = "\\\\" + m.name + "\\" + s.name;
    r.lpComment = s.remark;
    r.lpProvider = std::string(kWindowsNetworkProvider);
    out.push_back(std::move(r));
  }
  return out;
}

bool isProvider(const Network& net, std::string_view name) {
  if (upper(name) == upper(kWindowsNetworkProvider)) return true;
  return std::any_of(net.networkProviders.begin(), net.networkProviders.end(),
                     [&](const std::string& p) { return upper(p) == upper(name); });
}

// The children of a container named by its remote name (and provider).
DWORD childrenOf(const Network& net, const NETRESOURCE& c, std::vector<NETRESOURCE>* out) {
  if (c.dwUsage != 0 && !(c.dwUsage & RESOURCEUSAGE_CONTAINER)) return ERROR_NOT_CONTAINER;
  const std::string_view name = c.lpRemoteName;
  if (name.empty()) {
    // A provider's own top level, or the root.
    if (c.lpProvider.empty()) {
      *out = providers(net);
    } else if (upper(c.lpProvider) == upper(kWindowsNetworkProvider)) {
      *out = domains(net);
    } else if (!isProvider(net, c.lpProvider)) {
      return ERROR_BAD_NETPATH;
    }
    return NERR_Success;
  }
  if (name.starts_with("\\\\")) {
    const std::string_view rest = name.substr(2);
    if (rest.find('\\') != std::string_view::npos) return ERROR_NOT_CONTAINER;  // a share
    DWORD status = 0;
    const Machine* m = locate(net, name, kOpen, &status);
    if (!m) return status;
    *out = shares(*m);
    return NERR_Success;
  }
  if (upper(name) == upper(kWindowsNetworkProvider)) {
    *out = domains(net);
    return NERR_Success;
  }
  if (isProvider(net, name)) return NERR_Success;  // the lab holds nothing below the others
  const Domain* d = net.findDomain(name);
  if (!d) return ERROR_BAD_NETPATH;
  *out = servers(net, *d);
  return NERR_Success;
}

}  // namespace

DWORD networkChildren(const Network& net, DWORD scope, DWORD type, DWORD usage,
                      const NETRESOURCE* c, std::vector<NETRESOURCE>* children) {
  children->clear();
  if (type != RESOURCETYPE_ANY && type != RESOURCETYPE_DISK && type != RESOURCETYPE_PRINT) {
    return ERROR_INVALID_PARAMETER;
  }
  if (const Machine* local = net.findMachine(net.localMachine)) {
    if (auto it = local->refusals.find(std::string(kOpen)); it != local->refusals.end()) {
      return it->second;
    }
  }
  std::vector<NETRESOURCE> all;
  switch (scope) {
    case RESOURCE_GLOBALNET: {
      if (!c) {
        all = providers(net);
      } else if (const DWORD st = childrenOf(net, *c, &all); st != NERR_Success) {
        return st;
      }
      break;
    }
    case RESOURCE_CONTEXT: {
      // The neighbourhood: the servers of the local machine's own domain.
      const Machine* local = net.findMachine(net.localMachine);
      if (const Domain* d = local ? net.findDomain(local->domain) : nullptr) all = servers(net, *d);
      break;
    }
    case RESOURCE_CONNECTED:
    case RESOURCE_REMEMBERED:
    case RESOURCE_RECENT:
      break;  // the lab keeps no connections
    default:
      return ERROR_INVALID_PARAMETER;
  }
  for (auto& r : all) {
    if (!passesEnumFilters(r, type, usage)) continue;
    r.dwScope = scope;
    children->push_back(std::move(r));
  }
  return NERR_Success;
}

}  // namespace lab
