#include "platform/lab/file_lock.h"

#include <cerrno>
#include <cstring>
#include <utility>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace lab {

FileLock::~FileLock() { release(); }

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_path(std::move(other.m_path)) {}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    release();
    m_fd = std::exchange(other.m_fd, -1);
    m_path = std::move(other.m_path);
  }
  return *this;
}

bool FileLock::acquire(const std::string& labPath, std::string* error) {
  release();
  const std::string path = labPath + ".lock";
  // The holder removes the lock file when it is done, so a lock taken on a
  // file that has just been removed is retried on the new one.
  for (int attempt = 0; attempt < 100; ++attempt) {
    // Never through a link planted at the lock's name. A lock that cannot
    // be taken (another account's lock file, a read-only folder) keeps the
    // lab closed: opening it anyway would let two processes write it.
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK, 0644);
    if (fd < 0) {
      if (error) {
        *error = labPath + ": cannot take the lock " + path + ": " +
                 (errno == ELOOP ? std::string("it is a symbolic link") : std::strerror(errno)) +
                 "; the lab is not opened";
      }
      return false;
    }
    struct stat own {};
    if (::fstat(fd, &own) != 0 || !S_ISREG(own.st_mode)) {
      ::close(fd);
      if (error) *error = labPath + ": cannot take the lock " + path + ": it is not a regular file; the lab is not opened";
      return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
      const int err = errno;
      ::close(fd);
      if (error) {
        *error = err == EWOULDBLOCK
                     ? labPath + ": another Veltrane process has this lab open"
                     : labPath + ": cannot lock " + path + ": " + std::strerror(err);
      }
      return false;
    }
    struct stat held {}, named {};
    if (::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
        held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
      m_fd = fd;
      m_path = path;
      return true;
    }
    ::close(fd);
  }
  if (error) *error = labPath + ": cannot lock " + path;
  return false;
}

void FileLock::release() {
  if (m_fd < 0) return;
  ::unlink(m_path.c_str());
  ::close(m_fd);
  m_fd = -1;
}

}  // namespace lab
