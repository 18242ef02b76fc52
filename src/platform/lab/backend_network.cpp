// Network enumeration over the lab: an open takes the container's children
// as they are then, and the batches hand them out by the caller's buffer.

#include "platform/lab/lab_network.h"
#include "platform/lab/network_tree.h"

namespace lab {

using namespace platform;

DWORD LabNetwork::WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, const NETRESOURCE* container,
                               HANDLE* enumHandle) {
  if (!enumHandle) return ERROR_INVALID_PARAMETER;
  *enumHandle = 0;
  std::vector<NETRESOURCE> entries;
  const DWORD status = query([&](const Network& net) {
    return networkChildren(net, scope, type, usage, container, &entries);
  });
  if (status != NERR_Success) return status;
  *enumHandle = m_enums.open(std::move(entries));
  return NERR_Success;
}

DWORD LabNetwork::WNetEnumResource(HANDLE enumHandle, DWORD* count, std::vector<NETRESOURCE>& buffer,
                                   DWORD* bufferSize) {
  return m_enums.next(enumHandle, count, buffer, bufferSize);
}

DWORD LabNetwork::WNetCloseEnum(HANDLE enumHandle) { return m_enums.close(enumHandle); }

}  // namespace lab
