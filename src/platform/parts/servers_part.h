#pragma once
// Servers, workstations and domain controllers: the browse list, server and
// workstation information, finding a domain's controller, a server's
// settings, its sessions and open files, and its shares.

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
  virtual NET_API_STATUS NetServerSetInfo(std::string_view, DWORD, const NetInfo&, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetSessionEnum(std::string_view, std::string_view, std::string_view,
                                        DWORD, NetBuffer&, DWORD, DWORD*, DWORD*, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetSessionDel(std::string_view, std::string_view, std::string_view) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetFileEnum(std::string_view, std::string_view, std::string_view, DWORD,
                                     NetBuffer&, DWORD, DWORD*, DWORD*, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetShareEnum(std::string_view, DWORD, NetBuffer&, DWORD, DWORD*, DWORD*,
                                      DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetShareGetInfo(std::string_view, std::string_view, DWORD, NetBuffer&) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetShareAdd(std::string_view, DWORD, const NetInfo&, DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetShareDel(std::string_view, std::string_view, DWORD) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual NET_API_STATUS NetShareSetInfo(std::string_view, std::string_view, DWORD, const NetInfo&,
                                         DWORD*) {
    return ERROR_NOT_SUPPORTED;
  }
};

}  // namespace platform
