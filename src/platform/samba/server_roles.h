#pragma once
// A domain controller's role bits in a server type.

#include <string>
#include <string_view>

#include "platform/netapi.h"

namespace platform::samba {

// `reported` (a server's own type) with the controller role `role`
// (SV_TYPE_DOMAIN_CTRL or SV_TYPE_DOMAIN_BAKCTRL; 0: whatever `reported`
// says): a controller is a server of NT and never SV_TYPE_SERVER_NT, the
// type of a server that is not a controller.
DWORD serverTypeWithRole(DWORD reported, DWORD role);
// The server named in a PDC role owner's DN ("CN=NTDS Settings,CN=DC1,...":
// "DC1"); empty when it names none.
std::string serverOfRoleOwner(std::string_view dn);

}  // namespace platform::samba
