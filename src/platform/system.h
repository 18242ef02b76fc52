#pragma once
// The machine the program runs on and the account it runs as.

#include <string>

#include "platform/types.h"

namespace platform {

constexpr DWORD VER_PLATFORM_WIN32s = 0;
constexpr DWORD VER_PLATFORM_WIN32_WINDOWS = 1;
constexpr DWORD VER_PLATFORM_WIN32_NT = 2;

struct OSVERSIONINFOA {
  DWORD dwOSVersionInfoSize = sizeof(OSVERSIONINFOA);
  DWORD dwMajorVersion = 0;
  DWORD dwMinorVersion = 0;
  DWORD dwBuildNumber = 0;
  DWORD dwPlatformId = 0;
  std::string szCSDVersion;
};

// Non-zero on success.
BOOL GetVersionEx(OSVERSIONINFOA* info);
// The logged-on account's name (without domain). Non-zero on success.
BOOL GetUserName(std::string* name);
// The local machine's name. Non-zero on success.
BOOL GetComputerName(std::string* name);

}  // namespace platform
