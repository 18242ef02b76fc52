// Event reports of a network backend go to the Linux machine's system log,
// one line per event that the system's tools can read and filter by source.
#include <gtest/gtest.h>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "platform/local/syslog_event_log.h"

namespace {

using namespace platform;

// A stand-in for the system log's socket, in a folder of the test's own.
class LogSocket {
 public:
  LogSocket() {
    m_dir = std::filesystem::temp_directory_path() /
            ("veltrane-syslog-" + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
    m_path = (m_dir / "log").string();
    m_fd = ::socket(AF_UNIX, SOCK_DGRAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path, m_path.c_str(), m_path.size() + 1);
    EXPECT_EQ(::bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  }
  ~LogSocket() {
    ::close(m_fd);
    std::filesystem::remove_all(m_dir);
  }
  const std::string& path() const { return m_path; }
  std::string next() {
    char buffer[2048];
    const ssize_t n = ::recv(m_fd, buffer, sizeof buffer, MSG_DONTWAIT);
    return n > 0 ? std::string(buffer, n) : std::string();
  }

 private:
  std::filesystem::path m_dir;
  std::string m_path;
  int m_fd = -1;
};

TEST(SyslogEventLog, ReportsOneLineWithSourceTypeCategoryIdAndStrings) {
  LogSocket log;
  SyslogEventLog events(log.path());
  const HANDLE source = events.RegisterEventSource("", "Veltrane");
  ASSERT_NE(source, 0u);
  ASSERT_EQ(events.ReportEvent(source, EVENTLOG_ERROR_TYPE, 2, 59288,
                               {"BAD command line options:   ", "users"}),
            1);
  const std::string line = log.next();
  // user facility, error severity: 1 * 8 + 3
  EXPECT_TRUE(line.starts_with("<11>")) << line;
  EXPECT_NE(line.find(" Veltrane[" + std::to_string(::getpid()) + "]: Error event 59288, category 2: "
                      "BAD command line options:    | users"),
            std::string::npos)
      << line;

  ASSERT_EQ(events.ReportEvent(source, EVENTLOG_INFORMATION_TYPE, 0, 7, {}), 1);
  EXPECT_TRUE(log.next().starts_with("<14>"));  // informational

  EXPECT_EQ(events.DeregisterEventSource(source), 1);
  EXPECT_EQ(events.ReportEvent(source, EVENTLOG_ERROR_TYPE, 0, 1, {}), 0);
}

TEST(SyslogEventLog, OtherMachinesAndAMissingSystemLogFail) {
  LogSocket log;
  SyslogEventLog events(log.path());
  EXPECT_EQ(events.RegisterEventSource("\\\\DC1", "Veltrane"), 0u);

  SyslogEventLog nowhere(log.path() + ".missing");
  const HANDLE source = nowhere.RegisterEventSource("", "Veltrane");
  EXPECT_EQ(nowhere.ReportEvent(source, EVENTLOG_ERROR_TYPE, 0, 1, {"x"}), 0);
}

}  // namespace
