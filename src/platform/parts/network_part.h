#pragma once
// Network enumeration: the providers of the network and the domains,
// workgroups and machines each one shows. Its operations are added here as
// the displays that walk the network need them; a backend that serves none
// of them leaves this part empty.

namespace platform {

class NetworkPart {
 public:
  virtual ~NetworkPart() = default;
};

}  // namespace platform
