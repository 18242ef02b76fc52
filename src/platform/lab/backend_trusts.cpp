// The lab's servers part: the trust relationships of a server's domain. The
// domains of the lab trust each other through their `trusts` lists (NT
// trusts: one way, not transitive); the trusts a domain keeps with domains
// the lab does not hold are its `otherTrusts`.

#include "platform/lab/lab_servers.h"

#include "platform/lab/resolve.h"

namespace lab {

using namespace platform;

namespace {

DWORD flagsOfDirection(DWORD direction) {
  DWORD flags = 0;
  if (direction & TRUST_DIRECTION_INBOUND) flags |= DS_DOMAIN_DIRECT_INBOUND;
  if (direction & TRUST_DIRECTION_OUTBOUND) flags |= DS_DOMAIN_DIRECT_OUTBOUND;
  return flags;
}

bool trusts(const Domain& truster, const Domain& trusted) {
  for (const std::string& name : truster.trusts)
    if (upper(name) == upper(trusted.name)) return true;
  return false;
}

DS_DOMAIN_TRUSTS entry(std::string name, std::string dnsName, DWORD flags, DWORD type,
                       DWORD attributes, SID sid) {
  DS_DOMAIN_TRUSTS d;
  d.NetbiosDomainName = std::move(name);
  d.DnsDomainName = std::move(dnsName);
  d.Flags = flags;
  d.TrustType = type;
  d.TrustAttributes = attributes;
  d.DomainSid = std::move(sid);
  return d;
}

// Every domain `domain` has a trust relationship with, and the domain
// itself first, each once.
std::vector<DS_DOMAIN_TRUSTS> relationshipsOf(const Network& net, const Domain& domain) {
  std::vector<DS_DOMAIN_TRUSTS> all;
  all.push_back(
      entry(domain.name, {}, DS_DOMAIN_PRIMARY, TRUST_TYPE_DOWNLEVEL, 0, domain.sam.sid));
  for (const Domain& other : net.domains) {
    if (&other == &domain) continue;
    DWORD flags = 0;
    if (trusts(domain, other)) flags |= DS_DOMAIN_DIRECT_OUTBOUND;
    if (trusts(other, domain)) flags |= DS_DOMAIN_DIRECT_INBOUND;
    if (flags == 0) continue;
    all.push_back(entry(other.name, {}, flags, TRUST_TYPE_DOWNLEVEL,
                        TRUST_ATTRIBUTE_NON_TRANSITIVE, other.sam.sid));
  }
  for (const OtherTrust& t : domain.otherTrusts) {
    DWORD flags = flagsOfDirection(t.direction);
    if (t.attributes & TRUST_ATTRIBUTE_WITHIN_FOREST) flags |= DS_DOMAIN_IN_FOREST;
    all.push_back(entry(t.name, t.dnsName, flags, t.type, t.attributes, t.sid));
  }
  return all;
}

}  // namespace

DWORD LabServers::DsEnumerateDomainTrusts(std::string_view server, DWORD flags,
                                          std::vector<DS_DOMAIN_TRUSTS>* domains) {
  if (domains) domains->clear();
  if ((flags & DS_DOMAIN_VALID_FLAGS) == 0) return ERROR_INVALID_FLAGS;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "DsEnumerateDomainTrusts", &status);
    if (!m) return status;
    const Domain* domain = net.findDomain(m->domain);
    // A workgroup has no controller to keep trusts.
    if (!domain || domain->pdc.empty()) return ERROR_NO_SUCH_DOMAIN;
    if (!domains) return ERROR_INVALID_PARAMETER;
    for (DS_DOMAIN_TRUSTS& d : relationshipsOf(net, *domain))
      if (d.Flags & flags) domains->push_back(std::move(d));
    return ERROR_SUCCESS;
  });
}

}  // namespace lab
