// Which servers are the domain's controllers, and which of them is the
// primary one. Samba's AD DC describes itself as a server that is not a
// controller (no SV_TYPE_DOMAIN_CTRL, but SV_TYPE_SERVER_NT); its role
// follows from its computer account (a server trust account) and, for
// primary or backup, from the domain's PDC role owner (fSMORoleOwner).
#include <cctype>

#include "platform/samba/samba_backend.h"
#include "platform/samba/same_text.h"
#include "platform/samba/server_roles.h"

namespace platform::samba {
namespace {

constexpr DWORD kRoleBits = SV_TYPE_DOMAIN_CTRL | SV_TYPE_DOMAIN_BAKCTRL;

}  // namespace

DWORD serverTypeWithRole(DWORD reported, DWORD role) {
  role &= kRoleBits;
  if (role == 0) role = reported & kRoleBits;
  if (role == 0) return reported;
  // A controller is never "a server that is not a controller".
  return (reported & ~(kRoleBits | SV_TYPE_SERVER_NT)) | role | SV_TYPE_WORKSTATION |
         SV_TYPE_SERVER | SV_TYPE_NT;
}

std::string serverOfRoleOwner(std::string_view dn) {
  // "CN=NTDS Settings,CN=DC1,CN=Servers,...": the server is the second part.
  const std::size_t comma = dn.find(',');
  if (comma == std::string_view::npos) return {};
  std::string_view rest = dn.substr(comma + 1);
  if (rest.size() < 3 || !sameText(rest.substr(0, 3), "CN=")) return {};
  rest.remove_prefix(3);
  return std::string(rest.substr(0, rest.find(',')));
}

std::string SambaBackend::primaryController(const std::string& address) {
  Directory* dir = directory(address);
  if (!dir) return {};
  std::vector<DirectoryEntry> domain;
  if (!dir->search("(objectClass=domainDNS)", {"fSMORoleOwner"}, &domain, dir->baseDn()) ||
      domain.empty())
    return {};
  return serverOfRoleOwner(domain.front().text("fSMORoleOwner"));
}

DWORD SambaBackend::controllerRole(const std::string& address, std::string_view name,
                                   DWORD reported) {
  // An NT4-style controller tells its role itself.
  if (reported & kRoleBits) return reported & kRoleBits;
  if (name.empty()) return 0;
  if (Directory* dir = directory(address)) {
    std::vector<DirectoryEntry> found;
    const std::string filter = "(&(objectClass=computer)(sAMAccountName=" +
                               ldapEscape(std::string(name) + "$") + "))";
    if (!dir->search(filter, {"userAccountControl"}, &found) || found.empty()) return 0;
    if (!(found.front().number("userAccountControl") & UF_SERVER_TRUST_ACCOUNT)) return 0;
    const std::string primary = primaryController(address);
    return primary.empty() || sameText(primary, name) ? SV_TYPE_DOMAIN_CTRL
                                                      : SV_TYPE_DOMAIN_BAKCTRL;
  }
  // Without a directory: a machine whose own account database holds its
  // computer account is a controller of that domain (a member's does not);
  // which one is the primary cannot be told.
  std::vector<Computer> computers;
  if (!readComputers(address, &computers)) return 0;
  for (const Computer& c : computers) {
    if (c.name.size() == name.size() + 1 &&
        sameText(std::string_view(c.name).substr(0, name.size()), name))
      return SV_TYPE_DOMAIN_CTRL;
  }
  return 0;
}

}  // namespace platform::samba
