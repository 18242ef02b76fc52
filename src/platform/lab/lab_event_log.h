#pragma once
// The lab's event log part: each machine's log (backend_event_log.cpp).

#include <cstdint>
#include <mutex>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/lab/lab_part.h"

namespace lab {

class LabEventLog : public platform::EventLogPart, protected LabPart {
 public:
  using LabPart::LabPart;

  // event log
  platform::HANDLE RegisterEventSource(std::string_view server,
                                       std::string_view source) override;
  platform::BOOL DeregisterEventSource(platform::HANDLE log) override;
  platform::BOOL ReportEvent(platform::HANDLE log, platform::WORD type, platform::WORD category,
                             DWORD eventid, const std::vector<std::string>& strings) override;
  DWORD ReadEventLog(std::string_view server, std::vector<platform::EventRecord>* records) override;

 private:
  // An event source: the machine whose log it writes, and its name.
  mutable std::mutex m_mutex;
  std::unordered_map<platform::HANDLE, std::pair<std::string, std::string>> m_eventSources;
  std::uint64_t m_nextHandle = 0x1000;
};

}  // namespace lab
