#include "eventlog/event_report.h"

#include <vector>

#include "platform/eventlog.h"

namespace eventlog {

namespace {

// Deregisters the source when the report is done.
class EventSource {
 public:
  EventSource() : m_handle(platform::RegisterEventSource("", kEventSource)) {}
  EventSource(const EventSource&) = delete;
  EventSource& operator=(const EventSource&) = delete;
  ~EventSource() {
    if (m_handle != 0) platform::DeregisterEventSource(m_handle);
  }
  platform::HANDLE handle() const { return m_handle; }

 private:
  platform::HANDLE m_handle;
};

std::string joined(std::string_view fixed, std::string_view name) {
  std::string text(fixed);
  text += name;
  return text;
}

}  // namespace

void reportEvent(std::string_view text, platform::DWORD eventId) {
  const EventSource source;
  if (source.handle() == 0) return;
  // The result is deliberately dropped: a lost audit record must not undo or
  // interrupt the change it describes.
  (void)platform::ReportEvent(source.handle(), platform::EVENTLOG_INFORMATION_TYPE, 0, eventId,
                              std::vector<std::string>{std::string(text)});
}

std::string userAddedText(std::string_view account) { return joined("User Added:   ", account); }

std::string userDeletedText(std::string_view account) {
  return joined("User Deleted:   ", account);
}

std::string groupAddedText(std::string_view group, bool localGroup) {
  return joined(localGroup ? "Local Group Added:   " : "Global Group Added:   ", group);
}

std::string groupDeletedText(std::string_view group) {
  return joined("Group Deleted:   ", group);
}

std::string autoExportFailedText() { return "BAD command line options:   "; }

}  // namespace eventlog
