#pragma once
// Opening a file that is then read whole. Only a regular file is read: a
// directory cannot be, a pipe waits for a writer, and a device such as
// /dev/zero never ends. Its size is checked against the caller's limit
// before any of it is read, so a huge file costs nothing but the refusal.
// Messages name the path escaped and bounded (platform/message_text.h).

#include <cstdint>
#include <string>

namespace platform {

// A file descriptor that closes itself.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : m_fd(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept;
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int get() const { return m_fd; }
  explicit operator bool() const { return m_fd >= 0; }

 private:
  int m_fd = -1;
};

enum class FileRefusal { None, CannotOpen, NotRegular, TooLarge };

// Opens `path` for reading when it is a regular file of at most `maxBytes`;
// *size is its size. Never waits (a pipe is opened without blocking and then
// refused). False with *error ("PATH: not a regular file ...", "PATH: N
// bytes, more than the M ...") and *refusal (when given) otherwise.
bool openRegularFile(const std::string& path, std::uint64_t maxBytes, FileDescriptor* fd,
                     std::uint64_t* size, std::string* error, FileRefusal* refusal = nullptr);

// Reads `size` bytes from the start of an opened file into `out` (which has
// room for them); false with *error when fewer could be read.
bool readExactly(const FileDescriptor& fd, const std::string& path, char* out, std::uint64_t size,
                 std::string* error);

// Opens and reads a whole regular file of at most `maxBytes`.
bool readRegularFile(const std::string& path, std::uint64_t maxBytes, std::string* content,
                     std::string* error);

// Names `path` in a message: escaped, and bounded however long it is.
std::string pathInMessage(const std::string& path);

}  // namespace platform
