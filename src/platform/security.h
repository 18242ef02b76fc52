#pragma once
// Account look-ups by name and by SID.

#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

// Looks an account up as `systemname` sees it: "name" or "DOMAIN\name".
// Returns ERROR_SUCCESS, ERROR_NONE_MAPPED, or ERROR_BAD_NETPATH.
DWORD LookupAccountName(std::string_view systemname, std::string_view accountname, SID* sid,
                        std::string* referenceddomain, SID_NAME_USE* use);
// Returns ERROR_SUCCESS, ERROR_NONE_MAPPED (unknown SID), or ERROR_BAD_NETPATH.
// A SID of a deleted account is answered with SidTypeDeletedAccount.
DWORD LookupAccountSid(std::string_view systemname, const SID& sid, std::string* name,
                       std::string* referenceddomain, SID_NAME_USE* use);

}  // namespace platform
