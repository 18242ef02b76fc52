#pragma once
// A registry: keys opened below predefined roots or below a connection to a
// machine, and their values. The handles a part hands out are its own; the
// platform maps them to the program's handles, so two parts never collide.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/registry.h"

namespace platform {

class RegistryPart {
 public:
  virtual ~RegistryPart() = default;

  virtual LONG RegCreateKeyEx(HKEY, std::string_view, DWORD, REGSAM, HKEY*, DWORD*) {
    return static_cast<LONG>(ERROR_NOT_SUPPORTED);
  }
  virtual LONG RegOpenKeyEx(HKEY, std::string_view, DWORD, REGSAM, HKEY*) {
    return static_cast<LONG>(ERROR_NOT_SUPPORTED);
  }
  virtual LONG RegCloseKey(HKEY) { return static_cast<LONG>(ERROR_NOT_SUPPORTED); }
  virtual LONG RegConnectRegistry(std::string_view, HKEY, HKEY*) {
    return static_cast<LONG>(ERROR_NOT_SUPPORTED);
  }
  virtual LONG RegQueryValueEx(HKEY, std::string_view, DWORD*, std::span<std::uint8_t>, DWORD*) {
    return static_cast<LONG>(ERROR_NOT_SUPPORTED);
  }
  virtual LONG RegSetValueEx(HKEY, std::string_view, DWORD, std::span<const std::uint8_t>) {
    return static_cast<LONG>(ERROR_NOT_SUPPORTED);
  }
  virtual LONG RegDeleteValue(HKEY, std::string_view) {
    return static_cast<LONG>(ERROR_NOT_SUPPORTED);
  }
  virtual LONG RegEnumValue(HKEY, DWORD, std::string*, DWORD, DWORD*, std::span<std::uint8_t>,
                            DWORD*) {
    return static_cast<LONG>(ERROR_NOT_SUPPORTED);
  }
};

}  // namespace platform
