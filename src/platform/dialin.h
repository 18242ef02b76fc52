#pragma once
// The dial-in permission library. Its operations answer non-zero on success,
// as the library always has; the outputs are valid only then.

#include <string>
#include <string_view>

#include "platform/types.h"

namespace platform {

constexpr DWORD RAS_CALLBACK_NONE = 0;
constexpr DWORD RAS_CALLBACK_PRESET = 1;     // preset by the administrator
constexpr DWORD RAS_CALLBACK_USER_SET = 2;   // set by the caller

// server: "\\NAME"; account: the account name.
int GetRASQuick(std::string_view server, std::string_view account, DWORD* permission,
                std::string* callbackNumber, DWORD* callbackType);
int GetRAS(std::string_view server, std::string_view account, DWORD* allowed,
           std::string* callbackNumber, DWORD* callbackType);
int DoRAS(std::string_view server, std::string_view account, DWORD allowed,
          std::string_view callbackNumber, DWORD callbackType);

}  // namespace platform
