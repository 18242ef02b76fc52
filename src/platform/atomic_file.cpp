#include "platform/atomic_file.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/regular_file.h"

namespace platform {
namespace {

std::string folderOf(const std::string& path) {
  auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// Closes a descriptor when it goes out of scope.
struct Fd {
  int fd = -1;
  ~Fd() { if (fd >= 0) ::close(fd); }
};

// Writes `content` into the open temporary file `tmp` and renames it over
// `path`.
bool finishAtomicWrite(const std::string& path, Fd& file, const std::string& tmp,
                       std::string_view content, std::string* error) {
  auto failWith = [&](const std::string& what, const std::string& temp) {
    const int err = errno;
    if (!temp.empty()) ::unlink(temp.c_str());
    if (error) *error = path + ": " + what + ": " + std::strerror(err);
    return false;
  };
  const char* p = content.data();
  std::size_t left = content.size();
  while (left > 0) {
    const ssize_t n = ::write(file.fd, p, left);
    if (n < 0) {
      if (errno == EINTR) continue;
      return failWith("cannot write", tmp);
    }
    p += n;
    left -= static_cast<std::size_t>(n);
  }
  if (::fchmod(file.fd, 0644) != 0) return failWith("cannot set permissions", tmp);
  if (::fsync(file.fd) != 0) return failWith("cannot flush to disk", tmp);
  if (::close(file.fd) != 0) {
    file.fd = -1;
    return failWith("cannot close", tmp);
  }
  file.fd = -1;
  if (::rename(tmp.c_str(), path.c_str()) != 0) return failWith("cannot replace the file", tmp);
  // Make the rename itself durable.
  Fd folder;
  folder.fd = ::open(folderOf(path).c_str(), O_RDONLY | O_DIRECTORY);
  if (folder.fd >= 0) ::fsync(folder.fd);
  return true;
}

}  // namespace

bool writeFileAtomically(const std::string& path, std::string_view content, std::string* error) {
  std::string tmp = path + ".XXXXXX";
  Fd file;
  file.fd = ::mkstemp(tmp.data());
  if (file.fd < 0) {
    if (error) *error = path + ": cannot create a temporary file: " + std::strerror(errno);
    return false;
  }
  return finishAtomicWrite(path, file, tmp, content, error);
}

bool writeFileAtomicallyVia(const std::string& path, const std::string& tmp,
                            std::string_view content, std::string* error) {
  Fd file;
  file.fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (file.fd < 0) {
    if (error) *error = path + ": cannot create " + tmp + ": " + std::strerror(errno);
    return false;
  }
  return finishAtomicWrite(path, file, tmp, content, error);
}

bool readWholeFile(const std::string& path, std::string* content, std::string* error) {
  return readRegularFile(path, kWholeFileLimit, content, error);
}

}  // namespace platform
