#pragma once
// Who this Linux machine is on the network, for the program's "local
// machine": its NetBIOS name, workgroup and realm from Samba's
// configuration, else the host name's first label.

#include <string>

namespace platform::samba {

struct MachineIdentity {
  std::string netbiosName;  // upper case
  std::string workgroup;    // upper case; empty when none is configured
  std::string realm;
};

// Read once per process (Samba's configuration is loaded once too).
const MachineIdentity& machineIdentity();

// The host name's first label in upper case ("LOCALHOST" without one).
std::string hostNetbiosName();

}  // namespace platform::samba
