#pragma once
// Samba's libnetapi answers some failures with the generic Win32 codes of
// the account database where the program's messages expect the network
// management ones; each operation family names what its codes mean.

#include "platform/types.h"

namespace platform::samba {

enum class Family {
  User,        // the user named by the call
  Group,       // a global group (and a user joining or leaving it)
  LocalGroup,  // a local group (and its members)
  Other,
};

// The platform's status for libnetapi's `status` in a call of `family`.
DWORD platformStatus(DWORD status, Family family);

}  // namespace platform::samba
