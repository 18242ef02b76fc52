#include "platform/regular_file.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/message_text.h"

namespace platform {

FileDescriptor::~FileDescriptor() {
  if (m_fd >= 0) ::close(m_fd);
}

FileDescriptor::FileDescriptor(FileDescriptor&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)) {}

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
  if (this != &other) {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = std::exchange(other.m_fd, -1);
  }
  return *this;
}

std::string pathInMessage(const std::string& path) { return messageText(path, kQuotedPathChars); }

bool openRegularFile(const std::string& path, std::uint64_t maxBytes, FileDescriptor* fd,
                     std::uint64_t* size, std::string* error, FileRefusal* refusal) {
  const auto refuse = [&](FileRefusal why, std::string text) {
    if (refusal) *refusal = why;
    if (error) *error = pathInMessage(path) + ": " + std::move(text);
    return false;
  };
  const auto notRegular = [&](const struct stat& st) {
    return refuse(FileRefusal::NotRegular, std::string("not a regular file (") +
                                               (S_ISDIR(st.st_mode)    ? "a directory"
                                                : S_ISFIFO(st.st_mode) ? "a pipe"
                                                : S_ISSOCK(st.st_mode) ? "a socket"
                                                                       : "a device") +
                                               ")");
  };
  struct stat st {};
  // Looked at before it is opened: opening some devices does something.
  if (::stat(path.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) return notRegular(st);
  // O_NONBLOCK: should a pipe take the file's place meanwhile, opening it
  // would wait for a writer. Reads of a regular file do not heed it.
  FileDescriptor opened(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
  if (!opened) return refuse(FileRefusal::CannotOpen, std::string("cannot open: ") + std::strerror(errno));
  if (::fstat(opened.get(), &st) != 0)
    return refuse(FileRefusal::CannotOpen, std::string("cannot read: ") + std::strerror(errno));
  if (!S_ISREG(st.st_mode)) return notRegular(st);
  const auto bytes = static_cast<std::uint64_t>(st.st_size);
  if (bytes > maxBytes) {
    return refuse(FileRefusal::TooLarge, std::to_string(bytes) + " bytes, more than the " +
                                             std::to_string(maxBytes) + " this file may hold");
  }
  if (refusal) *refusal = FileRefusal::None;
  *fd = std::move(opened);
  *size = bytes;
  return true;
}

bool readExactly(const FileDescriptor& fd, const std::string& path, char* out, std::uint64_t size,
                 std::string* error) {
  constexpr std::uint64_t kPiece = 1u << 24;
  std::uint64_t got = 0;
  while (got < size) {
    const auto want = static_cast<std::size_t>(std::min(size - got, kPiece));
    const ssize_t n = ::read(fd.get(), out + got, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (error)
        *error = pathInMessage(path) + ": cannot read" +
                 (n < 0 ? std::string(": ") + std::strerror(errno) : ": it grew shorter while read");
      return false;
    }
    got += static_cast<std::uint64_t>(n);
  }
  return true;
}

bool readRegularFile(const std::string& path, std::uint64_t maxBytes, std::string* content,
                     std::string* error) {
  FileDescriptor fd;
  std::uint64_t size = 0;
  if (!openRegularFile(path, maxBytes, &fd, &size, error)) return false;
  std::string text(static_cast<std::size_t>(size), '\0');
  if (!readExactly(fd, path, text.data(), size, error)) return false;
  *content = std::move(text);
  return true;
}

}  // namespace platform
