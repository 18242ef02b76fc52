#include "platform/samba/machine_identity.h"

#include <unistd.h>

#include <array>
#include <cctype>

#include "platform/samba/machine_config.h"

namespace platform::samba {
namespace {

std::string upper(std::string text) {
  for (char& ch : text) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  return text;
}

MachineIdentity readIdentity() {
  MachineIdentity identity;
  std::array<char, 256> name{}, group{}, realm{};
  if (vt_machine_config(name.data(), name.size(), group.data(), group.size(), realm.data(),
                        realm.size())) {
    identity.netbiosName = upper(name.data());
    identity.workgroup = upper(group.data());
    identity.realm = realm.data();
  }
  if (identity.netbiosName.empty()) identity.netbiosName = hostNetbiosName();
  return identity;
}

}  // namespace

std::string hostNetbiosName() {
  std::array<char, 256> host{};
  if (::gethostname(host.data(), host.size() - 1) != 0 || !host[0]) return "LOCALHOST";
  std::string name(host.data());
  return upper(name.substr(0, name.find('.')));
}

const MachineIdentity& machineIdentity() {
  static const MachineIdentity identity = readIdentity();
  return identity;
}

}  // namespace platform::samba
