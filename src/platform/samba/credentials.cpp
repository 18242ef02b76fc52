#include "platform/samba/credentials.h"

#include <fcntl.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace platform::samba {
namespace {

std::string_view trimmed(std::string_view s) {
  const auto first = s.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = s.find_last_not_of(" \t\r");
  return s.substr(first, last - first + 1);
}

std::string lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return out;
}

}  // namespace

void wipeText(std::string& text) {
  if (!text.empty()) ::explicit_bzero(text.data(), text.size());
  text.clear();
}

void Credentials::wipePassword() { wipeText(password); }

Credentials& Credentials::operator=(const Credentials& other) {
  if (this == &other) return *this;
  wipePassword();
  user = other.user;
  domain = other.domain;
  password.reserve(other.password.size());
  password.assign(other.password);
  kerberosCache = other.kerberosCache;
  return *this;
}

namespace {

// Reads the whole authentication file from `fd` into `text`, whose buffer is
// sized once so that no copy of the password is left behind in freed memory.
bool readSecretFile(int fd, const struct stat& st, std::string& text) {
  constexpr off_t kLargest = 64 * 1024;
  if (!S_ISREG(st.st_mode) || st.st_size > kLargest) return false;
  text.assign(static_cast<std::size_t>(kLargest), '\0');
  std::size_t used = 0;
  for (;;) {
    const ssize_t n = ::read(fd, text.data() + used, text.size() - used);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) break;
    used += static_cast<std::size_t>(n);
    if (used == text.size()) return false;
  }
  ::explicit_bzero(text.data() + used, text.size() - used);
  text.resize(used);
  return true;
}

}  // namespace

bool readAuthenticationFile(const std::string& path, Credentials* out, std::string* error) {
  // Never waiting on a FIFO: what it is gets asked below.
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  if (fd < 0) {
    *error = "cannot read the authentication file " + path + ": " + std::strerror(errno);
    return false;
  }
  struct CloseFd {
    int fd;
    ~CloseFd() { ::close(fd); }
  } closeFd{fd};
  struct stat st {};
  if (::fstat(fd, &st) != 0) {
    *error = "cannot read the authentication file " + path + ": " + std::strerror(errno);
    return false;
  }
  // As ssh does for a key: a password others could read (or change) is no
  // longer the user's secret, and nobody would notice.
  if ((st.st_mode & 077) != 0) {
    *error = "the authentication file " + path +
             " can be read or written by other users; protect it with: chmod 600 " + path;
    return false;
  }
  std::string text;
  struct Wipe {
    std::string& t;
    ~Wipe() { wipeText(t); }
  } wipeContent{text};
  if (!readSecretFile(fd, st, text)) {
    *error = "cannot read the authentication file " + path + " (not a file of at most 64 KB)";
    return false;
  }
  Credentials creds;
  std::string_view rest(text);
  while (!rest.empty()) {
    const std::size_t end = std::min(rest.find('\n'), rest.size());
    const std::string_view line = trimmed(rest.substr(0, end));
    rest.remove_prefix(std::min(end + 1, rest.size()));
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    const auto eq = line.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string key = lower(trimmed(line.substr(0, eq)));
    const std::string_view value = trimmed(line.substr(eq + 1));
    if (key == "username") {
      creds.user = value;
    } else if (key == "password") {
      creds.password.reserve(value.size());
      creds.password.assign(value);
    } else if (key == "domain") {
      creds.domain = value;
    }
  }
  // "DOMAIN\user" in the user line names the domain too, as Samba's tools take it.
  if (const auto slash = creds.user.find('\\'); slash != std::string::npos) {
    if (creds.domain.empty()) creds.domain = creds.user.substr(0, slash);
    creds.user.erase(0, slash + 1);
  }
  if (creds.user.empty()) {
    *error = "the authentication file " + path + " names no user (username = NAME)";
    return false;
  }
  *out = creds;
  return true;
}

std::string kerberosCachePath() {
  std::string path;
  if (const char* env = std::getenv("KRB5CCNAME"); env && *env) {
    std::string_view name(env);
    if (name.starts_with("FILE:")) name.remove_prefix(5);
    // Other cache kinds (KEYRING:, KCM:) cannot be checked from here.
    if (name.find(':') != std::string_view::npos) return std::string(env);
    path = name;
  } else {
    path = "/tmp/krb5cc_" + std::to_string(::getuid());
  }
  std::error_code ec;
  return std::filesystem::is_regular_file(path, ec) ? path : std::string();
}

}  // namespace platform::samba
