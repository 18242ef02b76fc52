#pragma once
// The event log of a machine. A failed RegisterEventSource answers 0, as the
// system's does.

#include <string>
#include <string_view>
#include <vector>

#include "platform/eventlog.h"
#include "platform/parts/part_operation.h"

namespace platform {

class EventLogPart {
 public:
  virtual ~EventLogPart() = default;

#define VELTRANE_EVENT_LOG VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
