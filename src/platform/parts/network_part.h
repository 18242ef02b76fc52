#pragma once
// Network enumeration: the providers of the network and the domains,
// workgroups, servers and shares each one shows. The part owns the
// enumeration handles it hands out; a handle means nothing to another part.

#include <vector>

#include "platform/wnet.h"

namespace platform {

class NetworkPart {
 public:
  virtual ~NetworkPart() = default;

  // Unserved, the network is absent: nothing to enumerate or measure.
  virtual DWORD WNetOpenEnum(DWORD, DWORD, DWORD, const NETRESOURCE*, HANDLE* enumHandle) {
    if (enumHandle) *enumHandle = 0;
    return ERROR_NO_NETWORK;
  }
  virtual DWORD WNetEnumResource(HANDLE, DWORD* count, std::vector<NETRESOURCE>& buffer, DWORD*) {
    buffer.clear();
    if (count) *count = 0;
    return ERROR_INVALID_HANDLE;
  }
  virtual DWORD WNetCloseEnum(HANDLE) { return ERROR_INVALID_HANDLE; }
  virtual DWORD MultinetGetConnectionPerformance(const NETRESOURCE&, NETCONNECTINFOSTRUCT*) {
    return ERROR_NO_NETWORK;
  }
};

}  // namespace platform
