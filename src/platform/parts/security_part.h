#pragma once
// Security: account look-ups by name and SID. Owners and access lists of
// files join this part.

#include <string>
#include <string_view>

#include "platform/security.h"

namespace platform {

class SecurityPart {
 public:
  virtual ~SecurityPart() = default;

  virtual DWORD LookupAccountName(std::string_view, std::string_view, SID*, std::string*,
                                  SID_NAME_USE*) { return ERROR_NOT_SUPPORTED; }
  virtual DWORD LookupAccountSid(std::string_view, const SID&, std::string*, std::string*,
                                 SID_NAME_USE*) { return ERROR_NOT_SUPPORTED; }
};

}  // namespace platform
