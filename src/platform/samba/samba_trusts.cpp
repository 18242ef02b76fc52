// A domain's trust relationships, read from its controller's directory: the
// trusted domain objects under CN=System, the same objects the controller's
// logon service answers from. libnetapi has no call for them, and a
// controller without a directory (NT4-style) cannot be asked this way.
#include <utility>

#include "platform/dsgetdc.h"
#include "platform/samba/samba_backend.h"

namespace platform::samba {
namespace {

// "samdom.test" from the naming context "DC=samdom,DC=test".
std::string dnsNameOf(std::string_view baseDn) {
  std::string name;
  while (!baseDn.empty()) {
    const std::size_t comma = baseDn.find(',');
    std::string_view part = baseDn.substr(0, comma);
    if (part.size() > 3 && (part.substr(0, 3) == "DC=" || part.substr(0, 3) == "dc=")) {
      if (!name.empty()) name += '.';
      name += part.substr(3);
    }
    if (comma == std::string_view::npos) break;
    baseDn.remove_prefix(comma + 1);
  }
  return name;
}

DS_DOMAIN_TRUSTS trustOf(const DirectoryEntry& e) {
  DS_DOMAIN_TRUSTS t;
  t.TrustType = static_cast<DWORD>(e.number("trustType"));
  t.TrustAttributes = static_cast<DWORD>(e.number("trustAttributes"));
  const std::string partner(e.text("trustPartner"));
  const std::string flat(e.text("flatName"));
  // A Windows NT domain is known by its NetBIOS name only; the others'
  // partner is their DNS name (or the Kerberos realm).
  if (t.TrustType == TRUST_TYPE_DOWNLEVEL) {
    t.NetbiosDomainName = flat.empty() ? partner : flat;
  } else {
    t.DnsDomainName = partner;
    t.NetbiosDomainName = flat.empty() ? partner : flat;
  }
  const auto direction = static_cast<DWORD>(e.number("trustDirection"));
  if (direction & TRUST_DIRECTION_INBOUND) t.Flags |= DS_DOMAIN_DIRECT_INBOUND;
  if (direction & TRUST_DIRECTION_OUTBOUND) t.Flags |= DS_DOMAIN_DIRECT_OUTBOUND;
  if (t.TrustAttributes & TRUST_ATTRIBUTE_WITHIN_FOREST) t.Flags |= DS_DOMAIN_IN_FOREST;
  t.DomainSid.value = sidText(e.text("securityIdentifier"));
  return t;
}

}  // namespace

DWORD SambaBackend::DsEnumerateDomainTrusts(std::string_view servername, DWORD flags,
                                            std::vector<DS_DOMAIN_TRUSTS>* domains) {
  if (domains) domains->clear();
  if ((flags & DS_DOMAIN_VALID_FLAGS) == 0) return ERROR_INVALID_FLAGS;
  if (!domains) return ERROR_INVALID_PARAMETER;
  // The program's own machine is a Linux workstation of no domain.
  if (isLocalMachine(servername)) return ERROR_NO_SUCH_DOMAIN;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  Directory* dir = directory(at);
  if (!dir) return ERROR_NOT_SUPPORTED;

  if (flags & DS_DOMAIN_PRIMARY) {
    // The domain's own object: the only one of its class with a SID in its
    // naming context (the DNS partitions' heads have none).
    std::vector<DirectoryEntry> self;
    if (!dir->search("(&(objectClass=domainDNS)(objectSid=*))", {"objectSid"}, &self,
                     dir->baseDn()))
      return ERROR_BAD_NETPATH;
    DS_DOMAIN_TRUSTS primary;
    primary.NetbiosDomainName = domainName(at);
    primary.DnsDomainName = dnsNameOf(dir->baseDn());
    primary.Flags = DS_DOMAIN_PRIMARY | DS_DOMAIN_IN_FOREST;
    primary.TrustType = TRUST_TYPE_UPLEVEL;
    if (!self.empty()) primary.DomainSid.value = self.front().sid();
    domains->push_back(std::move(primary));
  }
  std::vector<DS_DOMAIN_TRUSTS> trusts;
  const bool read = dir->each(
      "(objectClass=trustedDomain)",
      {"trustPartner", "flatName", "trustDirection", "trustType", "trustAttributes",
       "securityIdentifier"},
      [&](DirectoryEntry& e) {
        DS_DOMAIN_TRUSTS t = trustOf(e);
        if (t.Flags & flags) trusts.push_back(std::move(t));
      },
      [&] { trusts.clear(); }, "CN=System," + dir->baseDn());
  if (!read) {
    domains->clear();
    return ERROR_BAD_NETPATH;
  }
  for (DS_DOMAIN_TRUSTS& t : trusts) domains->push_back(std::move(t));
  return ERROR_SUCCESS;
}

}  // namespace platform::samba
