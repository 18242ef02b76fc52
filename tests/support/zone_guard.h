#pragma once
// Test support: this process's local time zone pinned for one test, the
// one before put back when it ends.
//
//   ZoneGuard zone("IST-5:30");   // POSIX form: GMT+05:30, no summer time

#include <cstdlib>
#include <ctime>
#include <string>

namespace test_support {

class ZoneGuard {
 public:
  explicit ZoneGuard(const char* zone) {
    if (const char* old = std::getenv("TZ")) {
      m_old = old;
      m_hadOld = true;
    }
    set(zone);
  }
  ~ZoneGuard() {
    if (m_hadOld) {
      setenv("TZ", m_old.c_str(), 1);
    } else {
      unsetenv("TZ");
    }
    tzset();
  }
  ZoneGuard(const ZoneGuard&) = delete;
  ZoneGuard& operator=(const ZoneGuard&) = delete;

  // Another zone within the same test.
  void set(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
  }

 private:
  std::string m_old;
  bool m_hadOld = false;
};

}  // namespace test_support
