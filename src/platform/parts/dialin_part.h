#pragma once
// The dial-in permission library. Its calls answer non-zero on success, so
// the default, 0, is a failure.

#include <string>
#include <string_view>

#include "platform/dialin.h"

namespace platform {

class DialinPart {
 public:
  virtual ~DialinPart() = default;

  virtual int GetRASQuick(std::string_view, std::string_view, DWORD*, std::string*, DWORD*) {
    return 0;
  }
  virtual int GetRAS(std::string_view, std::string_view, DWORD*, std::string*, DWORD*) {
    return 0;
  }
  virtual int DoRAS(std::string_view, std::string_view, DWORD, std::string_view, DWORD) {
    return 0;
  }
};

}  // namespace platform
