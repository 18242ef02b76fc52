#pragma once
// Security and files: account look-ups by name and SID, directory listings,
// the descriptors of files, volumes and directory creation.

#include <string>
#include <string_view>

#include "platform/files.h"
#include "platform/security.h"

namespace platform {

class SecurityPart {
 public:
  virtual ~SecurityPart() = default;

  virtual DWORD LookupAccountName(std::string_view, std::string_view, SID*, std::string*,
                                  SID_NAME_USE*) { return ERROR_NOT_SUPPORTED; }
  virtual DWORD LookupAccountSid(std::string_view, const SID&, std::string*, std::string*,
                                 SID_NAME_USE*) { return ERROR_NOT_SUPPORTED; }

  virtual DWORD FindFirstFile(std::string_view, FIND_HANDLE*, WIN32_FIND_DATA*) {
    return ERROR_NOT_SUPPORTED;
  }
  virtual DWORD FindNextFile(FIND_HANDLE, WIN32_FIND_DATA*) { return ERROR_INVALID_HANDLE; }
  virtual DWORD FindClose(FIND_HANDLE) { return ERROR_INVALID_HANDLE; }
  virtual DWORD GetFileSecurity(std::string_view, SECURITY_INFORMATION, SECURITY_DESCRIPTOR*,
                                DWORD, DWORD*) { return ERROR_NOT_SUPPORTED; }
  virtual DWORD GetVolumeInformation(std::string_view, std::string*, DWORD*, DWORD*, DWORD*,
                                     std::string*) { return ERROR_NOT_SUPPORTED; }
  virtual DWORD CreateDirectory(std::string_view) { return ERROR_NOT_SUPPORTED; }
};

}  // namespace platform
