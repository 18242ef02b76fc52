#include "platform/resource_enumerations.h"

namespace platform {

NETRESOURCE windowsNetworkContainer(DWORD displayType, std::string remoteName,
                                    std::string comment) {
  NETRESOURCE r;
  r.dwDisplayType = displayType;
  r.dwUsage = RESOURCEUSAGE_CONTAINER;
  r.lpRemoteName = std::move(remoteName);
  r.lpComment = std::move(comment);
  r.lpProvider = std::string(kWindowsNetworkProvider);
  return r;
}

bool passesEnumFilters(const NETRESOURCE& r, DWORD type, DWORD usage) {
  if (type != RESOURCETYPE_ANY && r.dwType != RESOURCETYPE_ANY && r.dwType != type) return false;
  if (usage != 0 && usage != RESOURCEUSAGE_ALL && (r.dwUsage & usage) == 0) return false;
  return true;
}

HANDLE ResourceEnumerations::open(std::vector<NETRESOURCE> entries) {
  std::lock_guard lock(m_mutex);
  const HANDLE h = m_nextHandle++;
  m_open.emplace(h, Open{std::move(entries), 0});
  return h;
}

DWORD ResourceEnumerations::next(HANDLE handle, DWORD* count, std::vector<NETRESOURCE>& buffer,
                                 DWORD* bufferSize) {
  buffer.clear();
  if (!count || !bufferSize || *count == 0) {
    if (count) *count = 0;
    return ERROR_INVALID_PARAMETER;
  }
  const DWORD wanted = *count;
  *count = 0;
  std::lock_guard lock(m_mutex);
  auto it = m_open.find(handle);
  if (it == m_open.end()) return ERROR_INVALID_HANDLE;
  Open& e = it->second;
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

DWORD ResourceEnumerations::close(HANDLE handle) {
  std::lock_guard lock(m_mutex);
  return m_open.erase(handle) == 1 ? NERR_Success : ERROR_INVALID_HANDLE;
}

}  // namespace platform
