#include "platform/samba/credentials.h"

#include <string.h>
#include <unistd.h>

#include <array>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/message_text.h"
#include "platform/regular_file.h"

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

// Far more than the three lines such a file holds.
constexpr std::uint64_t kMaxAuthenticationFileBytes = 1u << 20;

bool readAuthenticationFile(const std::string& path, Credentials* out, std::string* error) {
  // The stream reads through a buffer of ours, so that it can be wiped too.
  std::array<char, 4096> buffer{};
  struct Wipe {
    std::array<char, 4096>& b;
    ~Wipe() { ::explicit_bzero(b.data(), b.size()); }
  } wipeBuffer{buffer};
  // A few lines of text: a pipe, a device or a huge file is refused before
  // it is read, and the path is named escaped.
  platform::FileDescriptor checked;
  std::uint64_t size = 0;
  std::string why;
  if (!platform::openRegularFile(path, kMaxAuthenticationFileBytes, &checked, &size, &why)) {
    *error = "cannot read the authentication file " + why;
    return false;
  }
  std::ifstream in;
  in.rdbuf()->pubsetbuf(buffer.data(), buffer.size());
  in.open(path);
  if (!in) {
    *error = "cannot read the authentication file " + platform::pathInMessage(path);
    return false;
  }
  Credentials creds;
  std::string line;
  while (std::getline(in, line)) {
    const std::string_view text = trimmed(line);
    if (text.empty() || text.front() == '#' || text.front() == ';') continue;
    const auto eq = text.find('=');
    if (eq == std::string_view::npos) continue;
    const std::string key = lower(trimmed(text.substr(0, eq)));
    std::string value(trimmed(text.substr(eq + 1)));
    if (key == "username") {
      creds.user = value;
    } else if (key == "password") {
      creds.password = value;
    } else if (key == "domain") {
      creds.domain = value;
    }
    wipeText(value);
    wipeText(line);
  }
  // "DOMAIN\user" in the user line names the domain too, as Samba's tools take it.
  if (const auto slash = creds.user.find('\\'); slash != std::string::npos) {
    if (creds.domain.empty()) creds.domain = creds.user.substr(0, slash);
    creds.user.erase(0, slash + 1);
  }
  if (creds.user.empty()) {
    *error = "the authentication file " + platform::pathInMessage(path) +
             " names no user (username = NAME)";
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
