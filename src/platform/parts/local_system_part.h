#pragma once
// The machine the program runs on: its version, the account the program runs
// as, the machine's name, and its own registry (where the program keeps its
// settings). A network backend serves other machines and leaves this part to
// the machine it runs on.

#include <string>

#include "platform/parts/registry_part.h"
#include "platform/system.h"

namespace platform {

class LocalSystemPart : public RegistryPart {
 public:
  // Each answers non-zero on success.
  virtual BOOL GetVersionEx(OSVERSIONINFOA*) { return 0; }
  virtual BOOL GetUserName(std::string*) { return 0; }
  virtual BOOL GetComputerName(std::string*) { return 0; }
};

}  // namespace platform
