// Network enumeration over the lab: an open takes the container's children
// as they are then, and the batches hand them out by the caller's buffer.

#include "platform/lab/lab_network.h"
#include "platform/lab/network_tree.h"
#include "platform/netsize.h"

namespace lab {

using namespace platform;

DWORD LabNetwork::WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, const NETRESOURCE* container,
                               HANDLE* enumHandle) {
  if (!enumHandle) return ERROR_INVALID_PARAMETER;
  *enumHandle = 0;
  OpenEnum open;
  const DWORD status = query([&](const Network& net) {
    return networkChildren(net, scope, type, usage, container, &open.entries);
  });
  if (status != NERR_Success) return status;
  std::lock_guard lock(m_mutex);
  const HANDLE h = m_nextHandle++;
  m_enums.emplace(h, std::move(open));
  *enumHandle = h;
  return NERR_Success;
}

DWORD LabNetwork::WNetEnumResource(HANDLE enumHandle, DWORD* count, std::vector<NETRESOURCE>& buffer,
                                   DWORD* bufferSize) {
  buffer.clear();
  if (!count || !bufferSize || *count == 0) {
    if (count) *count = 0;
    return ERROR_INVALID_PARAMETER;
  }
  const DWORD wanted = *count;
  *count = 0;
  std::lock_guard lock(m_mutex);
  auto it = m_enums.find(enumHandle);
  if (it == m_enums.end()) return ERROR_INVALID_HANDLE;
  OpenEnum& e = it->second;
  if (e.next >= e.entries.size()) return ERROR_NO_MORE_ITEMS;
  const DWORD first = netEntrySize(e.entries[e.next]);
  if (first > *bufferSize) {
    *bufferSize = first;
    return ERROR_MORE_DATA;
  }
  DWORD used = 0;
  while (e.next < e.entries.size() && buffer.size() < wanted) {
    const DWORD size = netEntrySize(e.entries[e.next]);
    if (size > *bufferSize - used) break;  // cannot wrap: used <= *bufferSize
    used += size;
    buffer.push_back(e.entries[e.next++]);
  }
  *count = static_cast<DWORD>(buffer.size());
  return NERR_Success;
}

DWORD LabNetwork::WNetCloseEnum(HANDLE enumHandle) {
  std::lock_guard lock(m_mutex);
  return m_enums.erase(enumHandle) == 1 ? NERR_Success : ERROR_INVALID_HANDLE;
}

}  // namespace lab
