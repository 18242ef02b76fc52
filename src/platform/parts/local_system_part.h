#pragma once
// The machine the program runs on: its version, the account the program runs
// as, the machine's name, and its own registry (where the program keeps its
// settings). A network backend serves other machines and leaves this part to
// the machine it runs on.

#include <string>

#include "platform/parts/registry_part.h"
#include "platform/system.h"
#include "platform/parts/part_operation.h"

namespace platform {

class LocalSystemPart : public RegistryPart {
 public:
#define VELTRANE_LOCAL_SYSTEM VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
