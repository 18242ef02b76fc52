#pragma once
// The system's reason for a status code, in words a user understands, for
// messages that name the code ("Error#5: Access is denied."), and what a
// parameter number of the account calls refers to. Plain C++.

#include <string>

#include "platform/types.h"

namespace platform {

// The reason for `status` ("Access is denied."); "" for a code without one.
std::string statusText(DWORD status);

// The field of a user record that a parameter number (parm_err of the
// NetUser* calls) names ("the password"); "" for a number without one.
std::string userParameterText(DWORD parameter);

}  // namespace platform
