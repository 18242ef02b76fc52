#pragma once
// The lab's network part: enumeration (backend_network.cpp) and connection
// performance (backend_performance.cpp).

#include <vector>

#include "platform/lab/lab_part.h"
#include "platform/resource_enumerations.h"

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
  platform::ResourceEnumerations m_enums;
};

}  // namespace lab
