#include "platform/file_replacement.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {
namespace {

std::string folderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The name a chain of links ends in when its last link names nothing yet:
// that is where the new file goes.
std::string endOfDanglingLinks(std::string path) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    std::string target(PATH_MAX, '\0');
    const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
    if (n <= 0) return path;
    target.resize(static_cast<std::size_t>(n));
    path = target.front() == '/' ? target : folderOf(path) + "/" + target;
  }
  return path;
}

std::string temporaryFolder() {
  if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) return tmp;
  return "/tmp";
}

void closeFd(int& fd) {
  if (fd >= 0) ::close(fd);
  fd = -1;
}

}  // namespace

mode_t newFileMode() {
  // umask() can only be read by setting it, which would race with other
  // threads creating files; the kernel reports it here.
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("Umask:", 0) == 0)
      return static_cast<mode_t>(0666 & ~std::strtoul(line.c_str() + 6, nullptr, 8));
  }
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return 0666 & ~mask;
}

bool FileReplacement::fail(std::string_view what, int err) {
  m_reason = std::strerror(err);
  m_error = (m_targetPath.empty() ? std::string() : m_targetPath + ": ") + std::string(what) +
            ": " + m_reason;
  return false;
}

bool FileReplacement::open(const std::string& path, const ReplacementOptions& options) {
  discard();
  m_error.clear();
  m_reason.clear();
  m_existed = false;
  m_targetPath = path;
  auto failOpen = [&](std::string_view what, int err) {
    fail(what, err);
    discard();
    return false;
  };

  struct stat st {};
  // Whether the path (after a followed link) names something that is not a
  // regular file, and so must be written where it is.
  bool special = false;
  if (options.followLink) {
    if (::stat(path.c_str(), &st) == 0) {
      if (S_ISREG(st.st_mode)) {
        m_existed = true;
        struct stat own {};
        if (::lstat(path.c_str(), &own) == 0 && S_ISLNK(own.st_mode)) {
          std::unique_ptr<char, decltype(&std::free)> real(::realpath(path.c_str(), nullptr),
                                                          &std::free);
          if (!real) return failOpen("cannot follow the link", errno);
          m_targetPath = real.get();
        }
      } else {
        special = true;
      }
    } else if (errno == ENOENT) {
      m_targetPath = endOfDanglingLinks(path);
    } else {
      return failOpen("cannot open", errno);
    }
  } else if (::lstat(path.c_str(), &st) == 0) {
    if (S_ISLNK(st.st_mode)) {
      // The link is replaced; the file it named lends its mode.
      struct stat named {};
      if (::stat(path.c_str(), &named) == 0 && S_ISREG(named.st_mode)) {
        st = named;
        m_existed = true;
      }
    } else if (S_ISREG(st.st_mode)) {
      m_existed = true;
    } else {
      special = true;
    }
  } else if (errno != ENOENT) {
    return failOpen("cannot open", errno);
  }

  if (special) {
    if (S_ISDIR(st.st_mode)) return failOpen("cannot write", EISDIR);
    const int noFollow = options.followLink ? 0 : O_NOFOLLOW;
    m_target = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | noFollow);
    if (m_target < 0) return failOpen("cannot open", errno);
    // A target that is not a file keeps no content to preserve: its bytes
    // are the ones written, so any temporary file lives in the temporary
    // folder rather than beside a device.
    if (options.alwaysTemporary) {
      const int err = openTemporary(temporaryFolder() + "/" + nameOf(path), options.temporaryInfix);
      if (err != 0) return failOpen("cannot create a temporary file", err);
    }
    m_out = m_temp >= 0 ? m_temp : m_target;
    return true;
  }

  if (m_existed) {
    m_mode = st.st_mode & 0777;
    m_uid = st.st_uid;
    m_gid = st.st_gid;
    // Replacing needs only the folder's permission; a file its owner made
    // read-only is not swapped behind that choice.
    if (::faccessat(AT_FDCWD, m_targetPath.c_str(), W_OK, AT_EACCESS) != 0)
      return failOpen("cannot write", errno);
  }
  if (const int err = openTemporary(m_targetPath, options.temporaryInfix); err != 0)
    return failOpen("cannot create a temporary file", err);
  m_out = m_temp;
  return true;
}

int FileReplacement::openTemporary(const std::string& beside, const std::string& infix) {
  std::string name = beside + infix + "XXXXXX";
  // O_CREAT | O_EXCL under a fresh name: a link planted at the name makes
  // it fail rather than be followed. Mode 0600 until commit.
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) return errno;
  m_temp = fd;
  m_tempPath = std::move(name);
  return 0;
}

bool FileReplacement::writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool FileReplacement::write(std::string_view bytes) {
  if (m_out < 0) return fail("cannot write", EBADF);
  if (writeAll(m_out, bytes)) return true;
  return fail("cannot write", errno);
}

bool FileReplacement::copyTemporaryIntoTarget() {
  if (::lseek(m_temp, 0, SEEK_SET) < 0) return fail("cannot read back the temporary file", errno);
  char buffer[64 * 1024];
  for (;;) {
    const ssize_t n = ::read(m_temp, buffer, sizeof buffer);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail("cannot read back the temporary file", errno);
    }
    if (!writeAll(m_target, std::string_view(buffer, static_cast<std::size_t>(n))))
      return fail("cannot write", errno);
  }
}

bool FileReplacement::renameIntoPlace() {
  if (m_existed) {
    // Where the process may (root): the old owner and group. A group the
    // user belongs to can be kept even where the owner cannot.
    struct stat own {};
    if (::fstat(m_temp, &own) == 0 && (own.st_uid != m_uid || own.st_gid != m_gid)) {
      if (::fchown(m_temp, m_uid, m_gid) != 0 &&
          ::fchown(m_temp, static_cast<uid_t>(-1), m_gid) != 0) {
        // Neither is allowed: the new file keeps this process's owner.
      }
    }
  }
  // After the owner: a change of owner clears set-id bits.
  if (::fchmod(m_temp, m_existed ? m_mode : newFileMode()) != 0)
    return fail("cannot set permissions", errno);
  if (::fsync(m_temp) != 0) return fail("cannot flush to disk", errno);
  const int fd = m_temp;
  m_temp = -1;
  if (::close(fd) != 0) return fail("cannot close", errno);
  // rename() replaces the last name itself, never what a link there names.
  if (::rename(m_tempPath.c_str(), m_targetPath.c_str()) != 0)
    return fail("cannot replace the file", errno);
  m_tempPath.clear();
  // Make the rename itself durable.
  const int folder = ::open(folderOf(m_targetPath).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (folder >= 0) {
    ::fsync(folder);
    ::close(folder);
  }
  return true;
}

bool FileReplacement::commit() {
  if (!isOpen()) return fail("cannot write", EBADF);
  bool ok = true;
  if (inPlace()) {
    if (m_temp >= 0) ok = copyTemporaryIntoTarget();
    const int fd = m_target;
    m_target = -1;
    if (::close(fd) != 0 && ok) ok = fail("cannot write", errno);
  } else {
    ok = renameIntoPlace();
  }
  discard();
  return ok;
}

void FileReplacement::discard() {
  closeFd(m_target);
  closeFd(m_temp);
  m_out = -1;
  if (!m_tempPath.empty()) ::unlink(m_tempPath.c_str());
  m_tempPath.clear();
}

void removeReplacementLeftovers(const std::string& path, std::string_view infix) {
  const std::string prefix = nameOf(path) + std::string(infix);
  const std::string folder = folderOf(path);
  struct CloseDir {
    void operator()(DIR* d) const { ::closedir(d); }
  };
  std::unique_ptr<DIR, CloseDir> dir(::opendir(folder.c_str()));
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir.get())) {
    const std::string_view name(entry->d_name);
    // The random part of a temporary name is six characters long.
    if (name.size() == prefix.size() + 6 && name.starts_with(prefix))
      ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
  }
}

}  // namespace platform
