#pragma once
// A domain's trust relationships, as its domain controllers' logon service
// reports them: which domains it trusts, which trust it, and what kind of
// trust each is.

#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform {

constexpr DWORD ERROR_INVALID_FLAGS = 1004;
constexpr DWORD ERROR_NO_SUCH_DOMAIN = 1355;

// DS_DOMAIN_TRUSTS Flags: what the domain is to the domain of the server
// asked. They also select the domains DsEnumerateDomainTrusts returns.
constexpr DWORD DS_DOMAIN_IN_FOREST = 0x0001;
constexpr DWORD DS_DOMAIN_DIRECT_OUTBOUND = 0x0002;  // the server's domain trusts it
constexpr DWORD DS_DOMAIN_TREE_ROOT = 0x0004;
constexpr DWORD DS_DOMAIN_PRIMARY = 0x0008;  // the server's own domain
constexpr DWORD DS_DOMAIN_NATIVE_MODE = 0x0010;
constexpr DWORD DS_DOMAIN_DIRECT_INBOUND = 0x0020;  // it trusts the server's domain
constexpr DWORD DS_DOMAIN_VALID_FLAGS = 0x003F;

// TrustType: what kind of domain is trusted.
constexpr DWORD TRUST_TYPE_DOWNLEVEL = 1;  // a Windows NT domain
constexpr DWORD TRUST_TYPE_UPLEVEL = 2;    // an Active Directory domain
constexpr DWORD TRUST_TYPE_MIT = 3;        // a Kerberos realm
constexpr DWORD TRUST_TYPE_DCE = 4;

// The direction of a trust as the domain's own trust object keeps it
// (TRUST_DIRECTION_INBOUND: the other domain trusts this one).
constexpr DWORD TRUST_DIRECTION_DISABLED = 0;
constexpr DWORD TRUST_DIRECTION_INBOUND = 1;
constexpr DWORD TRUST_DIRECTION_OUTBOUND = 2;
constexpr DWORD TRUST_DIRECTION_BIDIRECTIONAL = 3;

// TrustAttributes.
constexpr DWORD TRUST_ATTRIBUTE_NON_TRANSITIVE = 0x0001;
constexpr DWORD TRUST_ATTRIBUTE_UPLEVEL_ONLY = 0x0002;
constexpr DWORD TRUST_ATTRIBUTE_QUARANTINED_DOMAIN = 0x0004;
constexpr DWORD TRUST_ATTRIBUTE_FOREST_TRANSITIVE = 0x0008;
constexpr DWORD TRUST_ATTRIBUTE_CROSS_ORGANIZATION = 0x0010;
constexpr DWORD TRUST_ATTRIBUTE_WITHIN_FOREST = 0x0020;
constexpr DWORD TRUST_ATTRIBUTE_TREAT_AS_EXTERNAL = 0x0040;

struct DS_DOMAIN_TRUSTS {
  std::string NetbiosDomainName;
  std::string DnsDomainName;  // "" for a Windows NT domain
  DWORD Flags = 0;
  DWORD ParentIndex = 0;  // the domain's parent among the entries (in a forest)
  DWORD TrustType = 0;
  DWORD TrustAttributes = 0;
  SID DomainSid;  // empty when unknown (a Kerberos realm has none)
};

// The domains of the trust relationships of `servername`'s domain that
// `flags` selects: every domain whose Flags hold any of its bits
// (DS_DOMAIN_DIRECT_OUTBOUND | DS_DOMAIN_DIRECT_INBOUND: the domains it
// trusts and those that trust it, each once). Returns ERROR_SUCCESS;
// ERROR_INVALID_FLAGS for flags with no valid bit; ERROR_NO_SUCH_DOMAIN
// for a server of no domain; ERROR_BAD_NETPATH for a server that does not
// answer; ERROR_NOT_SUPPORTED where the server cannot tell.
DWORD DsEnumerateDomainTrusts(std::string_view servername, DWORD flags,
                              std::vector<DS_DOMAIN_TRUSTS>* domains);

}  // namespace platform
