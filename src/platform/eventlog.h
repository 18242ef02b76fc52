#pragma once
// The system event log.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace platform {

using HANDLE = std::uint64_t;  // 0 = failure

constexpr WORD EVENTLOG_SUCCESS = 0x0000;
constexpr WORD EVENTLOG_ERROR_TYPE = 0x0001;
constexpr WORD EVENTLOG_WARNING_TYPE = 0x0002;
constexpr WORD EVENTLOG_INFORMATION_TYPE = 0x0004;

// A registered source on a machine (empty uncservername = local machine).
HANDLE RegisterEventSource(std::string_view uncservername, std::string_view sourcename);
BOOL DeregisterEventSource(HANDLE eventlog);
// Returns non-zero on success.
BOOL ReportEvent(HANDLE eventlog, WORD type, WORD category, DWORD eventid,
                 const std::vector<std::string>& strings);

// One record of a machine's event log, as a reader sees it.
struct EventRecord {
  std::string source;
  WORD type = EVENTLOG_INFORMATION_TYPE;
  WORD category = 0;
  DWORD eventId = 0;
  std::vector<std::string> strings;
  std::int64_t timeWritten = 0;  // seconds since 1970
};

// Reads the event log of a machine (empty = local), oldest first.
DWORD ReadEventLog(std::string_view uncservername, std::vector<EventRecord>* records);

}  // namespace platform
