#pragma once
// How a backend makes changes durable. A backend that keeps changes itself
// (a server applies each call as it comes) leaves this part empty; the lab,
// which syncs a journal record per change, serves it so that a long run of
// changes is synced together.

#include <string>
#include "platform/parts/part_operation.h"

namespace platform {

class ChangesPart {
 public:
  virtual ~ChangesPart() = default;

#define VELTRANE_CHANGES VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
