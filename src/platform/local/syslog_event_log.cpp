#include "platform/local/syslog_event_log.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <ctime>

namespace platform {
namespace {

constexpr int kFacilityUser = 1;
constexpr int kSeverityError = 3;
constexpr int kSeverityWarning = 4;
constexpr int kSeverityNotice = 5;
constexpr int kSeverityInformational = 6;

struct TypeName {
  WORD type;
  const char* name;
  int severity;
};
constexpr TypeName kTypes[] = {
    {EVENTLOG_ERROR_TYPE, "Error", kSeverityError},
    {EVENTLOG_WARNING_TYPE, "Warning", kSeverityWarning},
    {EVENTLOG_INFORMATION_TYPE, "Information", kSeverityInformational},
    {EVENTLOG_SUCCESS, "Success", kSeverityNotice},
};

bool isLocal(std::string_view server) {
  while (server.starts_with('\\')) server.remove_prefix(1);
  return server.empty();
}

// A syslog tag holds no blanks, colons or brackets.
std::string tagOf(std::string_view source) {
  std::string tag;
  for (char c : source) tag += (c == ' ' || c == ':' || c == '[' || c == ']') ? '_' : c;
  return tag.empty() ? std::string("veltrane") : tag;
}

class Socket {
 public:
  Socket() : m_fd(::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0)) {}
  ~Socket() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return m_fd; }

 private:
  int m_fd;
};

}  // namespace

SyslogEventLog::SyslogEventLog(std::string socketPath) : m_socketPath(std::move(socketPath)) {}

HANDLE SyslogEventLog::RegisterEventSource(std::string_view server, std::string_view source) {
  if (!isLocal(server) || source.empty()) return 0;
  std::lock_guard lock(m_mutex);
  const HANDLE handle = m_nextHandle++;
  m_sources.emplace(handle, tagOf(source));
  return handle;
}

BOOL SyslogEventLog::DeregisterEventSource(HANDLE handle) {
  std::lock_guard lock(m_mutex);
  return m_sources.erase(handle) ? 1 : 0;
}

BOOL SyslogEventLog::ReportEvent(HANDLE handle, WORD type, WORD category, DWORD eventId,
                                 const std::vector<std::string>& strings) {
  std::string tag;
  {
    std::lock_guard lock(m_mutex);
    auto it = m_sources.find(handle);
    if (it == m_sources.end()) return 0;
    tag = it->second;
  }
  const TypeName* kind = &kTypes[2];
  for (const TypeName& t : kTypes) {
    if (t.type == type) kind = &t;
  }
  // RFC 3164: <PRI>TIMESTAMP TAG[PID]: MESSAGE; the receiver adds the host.
  char stamp[32] = "";
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  ::localtime_r(&now, &local);
  std::strftime(stamp, sizeof stamp, "%b %e %H:%M:%S", &local);
  std::string line = "<";
  line += std::to_string(kFacilityUser * 8 + kind->severity);
  line += '>';
  line += stamp;
  line += ' ';
  line += tag;
  line += '[';
  line += std::to_string(::getpid());
  line += "]: ";
  line += kind->name;
  line += " event ";
  line += std::to_string(eventId);
  line += ", category ";
  line += std::to_string(category);
  for (std::size_t i = 0; i < strings.size(); ++i) {
    line += i == 0 ? ": " : " | ";
    line += strings[i];
  }

  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  if (m_socketPath.size() >= sizeof address.sun_path) return 0;
  std::memcpy(address.sun_path, m_socketPath.c_str(), m_socketPath.size() + 1);
  Socket s;
  if (s.fd() < 0) return 0;
  const ssize_t sent = ::sendto(s.fd(), line.data(), line.size(), MSG_NOSIGNAL,
                                reinterpret_cast<const sockaddr*>(&address), sizeof address);
  return sent == static_cast<ssize_t>(line.size()) ? 1 : 0;
}

}  // namespace platform
