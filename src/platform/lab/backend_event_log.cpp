// The lab's event log: sources, reports and each machine's log.

#include "platform/lab/lab_event_log.h"

#include "platform/lab/resolve.h"
#include "platform/lab/text_rules.h"

namespace lab {

using namespace platform;

// ---- event log ----

HANDLE LabEventLog::RegisterEventSource(std::string_view server, std::string_view source) {
  std::string machine;
  const DWORD status = query([&](const Network& net) -> DWORD {
    DWORD st = 0;
    const Machine* m = locate(net, server, "RegisterEventSource", &st);
    if (!m) return st;
    machine = m->name;
    return NERR_Success;
  });
  if (status != NERR_Success || source.empty()) return 0;
  std::lock_guard lock(m_mutex);
  const HANDLE h = m_nextHandle++;
  m_eventSources.emplace(h, std::make_pair(machine, std::string(source)));
  return h;
}

BOOL LabEventLog::DeregisterEventSource(HANDLE log) {
  std::lock_guard lock(m_mutex);
  return m_eventSources.erase(log) ? 1 : 0;
}

BOOL LabEventLog::ReportEvent(HANDLE log, WORD type, WORD category, DWORD eventid,
                             const std::vector<std::string>& strings) {
  std::pair<std::string, std::string> source;
  {
    std::lock_guard lock(m_mutex);
    auto it = m_eventSources.find(log);
    if (it == m_eventSources.end()) return 0;
    source = it->second;
  }
  // A report the event log could not write back is refused, as one too long would be.
  for (const auto& text : strings) {
    if (!isWritableText(text)) return 0;
  }
  const auto when = m_lab->now();
  const DWORD status = change([&](Network& net, ChangeSet& changes) -> DWORD {
    Machine* m = net.findMachine(source.first);
    if (!m || !m->reachable) return ERROR_BAD_NETPATH;
    m->eventLog.push_back(EventRecord{source.second, type, category, eventid, strings, when});
    changes.event(*m);
    return NERR_Success;
  });
  return status == NERR_Success ? 1 : 0;
}

DWORD LabEventLog::ReadEventLog(std::string_view server, std::vector<EventRecord>* records) {
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "ReadEventLog", &status);
    if (!m) return status;
    if (records) *records = m->eventLog;
    return NERR_Success;
  });
}

}  // namespace lab
