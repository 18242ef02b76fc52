#pragma once
// The lab's network part: enumeration (backend_network.cpp) and connection
// performance (backend_performance.cpp).

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "platform/lab/lab_part.h"

namespace lab {

class LabNetwork : public platform::NetworkPart, protected LabPart {
 public:
  using LabPart::LabPart;

  // network enumeration (backend_network.cpp)
  DWORD WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, const platform::NETRESOURCE* container,
                     platform::HANDLE* enumHandle) override;
  DWORD WNetEnumResource(platform::HANDLE enumHandle, DWORD* count,
                         std::vector<platform::NETRESOURCE>& buffer, DWORD* bufferSize) override;
  DWORD WNetCloseEnum(platform::HANDLE enumHandle) override;
  // backend_performance.cpp
  DWORD MultinetGetConnectionPerformance(const platform::NETRESOURCE& resource,
                                         platform::NETCONNECTINFOSTRUCT* info) override;

 private:
  // An open network enumeration: the container's children as they were at
  // the open, and how many were handed out.
  struct OpenEnum {
    std::vector<platform::NETRESOURCE> entries;
    std::size_t next = 0;
  };
  std::mutex m_mutex;
  std::unordered_map<platform::HANDLE, OpenEnum> m_enums;
  std::uint64_t m_nextHandle = 0x1000;
};

}  // namespace lab
