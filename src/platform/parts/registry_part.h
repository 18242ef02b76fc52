#pragma once
// A registry: keys opened below predefined roots or below a connection to a
// machine, and their values. The handles a part hands out are its own; the
// platform maps them to the program's handles, so two parts never collide.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "platform/registry.h"
#include "platform/parts/part_operation.h"

namespace platform {

class RegistryPart {
 public:
  virtual ~RegistryPart() = default;

#define VELTRANE_REGISTRY VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
