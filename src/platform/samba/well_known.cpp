#include "platform/samba/well_known.h"

#include <algorithm>
#include <cctype>

namespace platform::samba {
namespace {

constexpr WellKnownAccount kAccounts[] = {
    {"S-1-1-0", "", "Everyone", SidTypeWellKnownGroup},
    {"S-1-3-0", "", "CREATOR OWNER", SidTypeWellKnownGroup},
    {"S-1-5-2", "NT AUTHORITY", "NETWORK", SidTypeWellKnownGroup},
    {"S-1-5-4", "NT AUTHORITY", "INTERACTIVE", SidTypeWellKnownGroup},
    {"S-1-5-6", "NT AUTHORITY", "SERVICE", SidTypeWellKnownGroup},
    {"S-1-5-7", "NT AUTHORITY", "ANONYMOUS LOGON", SidTypeWellKnownGroup},
    {"S-1-5-9", "NT AUTHORITY", "ENTERPRISE DOMAIN CONTROLLERS", SidTypeWellKnownGroup},
    {"S-1-5-11", "NT AUTHORITY", "Authenticated Users", SidTypeWellKnownGroup},
    {"S-1-5-18", "NT AUTHORITY", "SYSTEM", SidTypeWellKnownGroup},
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
