#include "platform/samba/well_known.h"

#include <algorithm>
#include <cctype>

namespace platform::samba {
namespace {

// As the controller's own look-up (LSA) names them.
constexpr WellKnownAccount kAccounts[] = {
    {"S-1-0-0", "", "NULL SID", SidTypeWellKnownGroup},
    {"S-1-1-0", "", "Everyone", SidTypeWellKnownGroup},
    {"S-1-2-0", "", "LOCAL", SidTypeWellKnownGroup},
    {"S-1-3-0", "", "CREATOR OWNER", SidTypeWellKnownGroup},
    {"S-1-3-1", "", "CREATOR GROUP", SidTypeWellKnownGroup},
    {"S-1-3-4", "", "OWNER RIGHTS", SidTypeWellKnownGroup},
    {"S-1-5-1", "NT AUTHORITY", "DIALUP", SidTypeWellKnownGroup},
    {"S-1-5-2", "NT AUTHORITY", "NETWORK", SidTypeWellKnownGroup},
    {"S-1-5-3", "NT AUTHORITY", "BATCH", SidTypeWellKnownGroup},
    {"S-1-5-4", "NT AUTHORITY", "INTERACTIVE", SidTypeWellKnownGroup},
    {"S-1-5-6", "NT AUTHORITY", "SERVICE", SidTypeWellKnownGroup},
    {"S-1-5-7", "NT AUTHORITY", "ANONYMOUS LOGON", SidTypeWellKnownGroup},
    {"S-1-5-8", "NT AUTHORITY", "PROXY", SidTypeWellKnownGroup},
    {"S-1-5-9", "NT AUTHORITY", "ENTERPRISE DOMAIN CONTROLLERS", SidTypeWellKnownGroup},
    {"S-1-5-10", "NT AUTHORITY", "SELF", SidTypeWellKnownGroup},
    {"S-1-5-11", "NT AUTHORITY", "Authenticated Users", SidTypeWellKnownGroup},
    {"S-1-5-12", "NT AUTHORITY", "RESTRICTED", SidTypeWellKnownGroup},
    {"S-1-5-13", "NT AUTHORITY", "TERMINAL SERVER USER", SidTypeWellKnownGroup},
    {"S-1-5-14", "NT AUTHORITY", "REMOTE INTERACTIVE LOGON", SidTypeWellKnownGroup},
    {"S-1-5-15", "NT AUTHORITY", "This Organization", SidTypeWellKnownGroup},
    {"S-1-5-17", "NT AUTHORITY", "IUSR", SidTypeWellKnownGroup},
    {"S-1-5-18", "NT AUTHORITY", "SYSTEM", SidTypeWellKnownGroup},
    {"S-1-5-19", "NT AUTHORITY", "LOCAL SERVICE", SidTypeWellKnownGroup},
    {"S-1-5-20", "NT AUTHORITY", "NETWORK SERVICE", SidTypeWellKnownGroup},
    {"S-1-5-33", "NT AUTHORITY", "WRITE RESTRICTED", SidTypeWellKnownGroup},
    {"S-1-5-64-10", "NT AUTHORITY", "NTLM Authentication", SidTypeWellKnownGroup},
    {"S-1-5-1000", "NT AUTHORITY", "Other Organization", SidTypeWellKnownGroup},
};

bool sameText(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
  });
}

}  // namespace

const WellKnownAccount* wellKnownBySid(std::string_view sid) {
  for (const auto& a : kAccounts) {
    if (a.sid == sid) return &a;
  }
  return nullptr;
}

const WellKnownAccount* wellKnownByName(std::string_view domain, std::string_view name) {
  for (const auto& a : kAccounts) {
    if (sameText(a.name, name) && (domain.empty() || sameText(a.domain, domain))) return &a;
  }
  return nullptr;
}

}  // namespace platform::samba
