#pragma once
// The event log of the Linux machine the program runs on: event reports go
// to the system log (syslog, or the journal through its syslog socket) as
// one line each, tagged with the event source, readable with the system's
// own tools (journalctl -t SOURCE, /var/log/syslog). Other machines' event
// logs are not reached from here: registering a source on one fails.

#include <map>
#include <mutex>
#include <string>

#include "platform/parts/event_log_part.h"

namespace platform {

class SyslogEventLog final : public EventLogPart {
 public:
  // `socketPath`: the system log's datagram socket.
  explicit SyslogEventLog(std::string socketPath = "/dev/log");

  HANDLE RegisterEventSource(std::string_view server, std::string_view source) override;
  BOOL DeregisterEventSource(HANDLE handle) override;
  // One line "SOURCE[PID]: Error event 59288, category 0: STRING | STRING",
  // at the syslog severity of the type. Fails (0) when the system log does
  // not take it.
  BOOL ReportEvent(HANDLE handle, WORD type, WORD category, DWORD eventId,
                   const std::vector<std::string>& strings) override;

 private:
  std::mutex m_mutex;
  std::string m_socketPath;
  std::map<HANDLE, std::string> m_sources;
  HANDLE m_nextHandle = 1;
};

}  // namespace platform
