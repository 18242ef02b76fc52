#pragma once
// Network enumeration: the providers of the network and the domains,
// workgroups, servers and shares each one shows. The part owns the
// enumeration handles it hands out; a handle means nothing to another part.

#include <vector>

#include "platform/wnet.h"
#include "platform/parts/part_operation.h"

namespace platform {
namespace detail {

// What an unserved network answers: no handle, nothing enumerated.
inline DWORD noNetwork(HANDLE* enumHandle) {
  if (enumHandle) *enumHandle = 0;
  return ERROR_NO_NETWORK;
}
inline DWORD nothingEnumerated(DWORD* count, std::vector<NETRESOURCE>& buffer) {
  buffer.clear();
  if (count) *count = 0;
  return ERROR_INVALID_HANDLE;
}

}  // namespace detail

class NetworkPart {
 public:
  virtual ~NetworkPart() = default;

#define VELTRANE_NETWORK VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
