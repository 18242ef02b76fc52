#include "platform/lab/lab_text.h"

#include <sys/mman.h>
#include <unistd.h>

#include "platform/regular_file.h"

namespace lab {

bool LabText::load(const std::string& path, std::string* error) {
  release();
  platform::FileDescriptor fd;
  std::uint64_t fileSize = 0;
  if (!platform::openRegularFile(path, kMaxLabFileBytes, &fd, &fileSize, error)) return false;
  const auto size = static_cast<std::size_t>(fileSize);
  const auto page = static_cast<std::size_t>(::sysconf(_SC_PAGESIZE));
  const std::size_t room = size % page == 0 ? 0 : page - size % page;
  // The rest of a mapping's last page reads as zeros: room enough, no copy.
  if (size > 0 && room >= simdjson::SIMDJSON_PADDING) {
    void* map = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE | MAP_POPULATE, fd.get(), 0);
    if (map != MAP_FAILED) {
      m_map = map;
      m_mapLength = size;
      m_size = size;
      return true;
    }
  }
  simdjson::padded_string copy(size);
  if (!platform::readExactly(fd, path, copy.data(), fileSize, error)) return false;
  m_copy = std::move(copy);
  return true;
}

bool checkLabFile(const std::string& path, std::string* error) {
  platform::FileDescriptor fd;
  std::uint64_t size = 0;
  return platform::openRegularFile(path, kMaxLabFileBytes, &fd, &size, error);
}

bool readLabFile(const std::string& path, std::string* text, std::string* error) {
  return platform::readRegularFile(path, kMaxLabFileBytes, text, error);
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
