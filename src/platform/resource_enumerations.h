#pragma once
// Open network enumerations of one part: each handle holds the container's
// children as they were at the open and hands them out in batches measured
// against the caller's buffer. Safe for concurrent callers.

#include <cstddef>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/wnet.h"

namespace platform {

// A container of the Windows network (provider, domain or server).
NETRESOURCE windowsNetworkContainer(DWORD displayType, std::string remoteName, std::string comment);
// Whether WNetOpenEnum's type and usage let `r` through.
bool passesEnumFilters(const NETRESOURCE& r, DWORD type, DWORD usage);

class ResourceEnumerations {
 public:
  HANDLE open(std::vector<NETRESOURCE> entries);
  // WNetEnumResource's answer for `handle`.
  DWORD next(HANDLE handle, DWORD* count, std::vector<NETRESOURCE>& buffer, DWORD* bufferSize);
  DWORD close(HANDLE handle);

 private:
  struct Open {
    std::vector<NETRESOURCE> entries;
    std::size_t next = 0;
  };
  std::mutex m_mutex;
  std::unordered_map<HANDLE, Open> m_open;
  HANDLE m_nextHandle = 0x1000;
};

}  // namespace platform
