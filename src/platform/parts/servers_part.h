#pragma once
// Servers, workstations and domain controllers: the browse list, server and
// workstation information, finding a domain's controller. Sessions and
// shares join this part.

#include <string>
#include <string_view>

#include "platform/netapi.h"

namespace platform {

class ServersPart {
 public:
  virtual ~ServersPart() = default;

  virtual NET_API_STATUS NetServerEnum(std::string_view, DWORD, NetBuffer&, DWORD, DWORD*,
                                       DWORD*, DWORD, std::string_view, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetServerGetInfo(std::string_view, DWORD, NetBuffer&) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetGetDCName(std::string_view, std::string_view, std::string*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetWkstaGetInfo(std::string_view, DWORD, NetBuffer&) {
    return ERROR_NOT_SUPPORTED;
  }
};

}  // namespace platform
