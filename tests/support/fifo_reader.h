#pragma once
// Reads a FIFO to its end on a thread of its own, as the reader at the far
// end of a pipe would:
//
//   FifoReader reader(path);          // mkfifo'd already
//   ... write to path ...
//   const std::string bytes = reader.finish();
//
// finish() also releases a reader still waiting for a writer that never
// came (the code under test failed before opening the FIFO), so a failing
// test ends instead of hanging.

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

namespace test_support {

class FifoReader {
 public:
  explicit FifoReader(std::string path)
      : m_path(std::move(path)), m_thread([this] {
          std::ifstream in(m_path, std::ios::binary);
          m_received.assign(std::istreambuf_iterator<char>(in), {});
          m_done = true;
        }) {}
  ~FifoReader() { finish(); }
  FifoReader(const FifoReader&) = delete;
  FifoReader& operator=(const FifoReader&) = delete;

  std::string finish() {
    if (m_thread.joinable()) {
      // Opening succeeds only once the reader waits for a writer; closing
      // it again gives that reader its end of file.
      while (!m_done) {
        const int fd = ::open(m_path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd >= 0) ::close(fd);
        std::this_thread::yield();
      }
      m_thread.join();
    }
    return m_received;
  }

 private:
  std::string m_path;
  std::string m_received;
  std::atomic<bool> m_done{false};
  std::thread m_thread;
};

}  // namespace test_support
