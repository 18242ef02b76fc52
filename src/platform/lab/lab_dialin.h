#pragma once
// The lab's dial-in part: each account's dial-in settings (backend_dialin.cpp).

#include <string>

#include "platform/lab/lab_part.h"

namespace lab {

class LabDialin : public platform::DialinPart, protected LabPart {
 public:
  using LabPart::LabPart;

  // dial-in library
  int GetRASQuick(std::string_view server, std::string_view account, DWORD* permission,
                  std::string* number, DWORD* type) override;
  int GetRAS(std::string_view server, std::string_view account, DWORD* allowed,
             std::string* number, DWORD* type) override;
  int DoRAS(std::string_view server, std::string_view account, DWORD allowed,
            std::string_view number, DWORD type) override;
};

}  // namespace lab
