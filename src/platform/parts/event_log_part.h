#pragma once
// The event log of a machine. A failed RegisterEventSource answers 0, as the
// system's does.

#include <string>
#include <string_view>
#include <vector>

#include "platform/eventlog.h"

namespace platform {

class EventLogPart {
 public:
  virtual ~EventLogPart() = default;

  virtual HANDLE RegisterEventSource(std::string_view, std::string_view) { return 0; }
  virtual BOOL DeregisterEventSource(HANDLE) { return 0; }
  virtual BOOL ReportEvent(HANDLE, WORD, WORD, DWORD, const std::vector<std::string>&) {
    return 0;
  }
  virtual DWORD ReadEventLog(std::string_view, std::vector<EventRecord>*) {
    return ERROR_NOT_SUPPORTED;
  }
};

}  // namespace platform
