#include "platform/lab/lab_text.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lab {

bool LabText::load(const std::string& path, std::string* error) {
  release();
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (error) *error = path + ": cannot open: " + std::strerror(errno);
    return false;
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    if (error) *error = path + ": cannot read: " + std::strerror(errno);
    ::close(fd);
    return false;
  }
  const auto size = static_cast<std::size_t>(st.st_size);
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t room = size % page == 0 ? 0 : page - size % page;
  // The rest of a mapping's last page reads as zeros: room enough, no copy.
  if (size > 0 && room >= simdjson::SIMDJSON_PADDING) {
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd, 0);
    if (map != MAP_FAILED) {
      ::close(fd);
      m_map = map;
      m_mapLength = size;
      m_size = size;
      return true;
    }
  }
  simdjson::padded_string copy(size);
  std::size_t got = 0;
  while (got < size) {
    const ssize_t n = ::read(fd, copy.data() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (error) *error = path + ": cannot read" + (n < 0 ? std::string(": ") + std::strerror(errno) : "");
      ::close(fd);
      return false;
    }
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  m_copy = std::move(copy);
  return true;
}

std::string_view LabText::view() const {
  if (m_map) return {static_cast<const char*>(m_map), m_size};
  return {m_copy.data(), m_copy.size()};
}

void LabText::release() {
  if (m_map) ::munmap(m_map, m_mapLength);
  m_map = nullptr;
  m_mapLength = 0;
  m_size = 0;
  m_copy = simdjson::padded_string();
}

}  // namespace lab
