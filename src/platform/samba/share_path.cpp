#include "platform/samba/share_path.h"

#include <cctype>

namespace platform::samba {
namespace {

bool unreserved(unsigned char c) {
  return std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~' || c == '$';
}

void appendEscaped(std::string& out, std::string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (unreserved(c)) {
      out += ch;
    } else {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 0xF];
    }
  }
}

}  // namespace

bool parseSharePath(std::string_view path, SharePath* out) {
  if (!path.starts_with("\\\\")) return false;
  path.remove_prefix(2);
  const auto serverEnd = path.find('\\');
  if (serverEnd == std::string_view::npos || serverEnd == 0) return false;
  std::string_view tail = path.substr(serverEnd + 1);
  const auto shareEnd = tail.find('\\');
  const std::string_view share = tail.substr(0, shareEnd);
  if (share.empty()) return false;
  std::string_view rest = shareEnd == std::string_view::npos ? std::string_view{} : tail.substr(shareEnd + 1);
  while (rest.ends_with('\\')) rest.remove_suffix(1);
  // "a\\\\b" names nothing; the server would read it as "a\\b".
  if (rest.find("\\\\") != std::string_view::npos || rest.starts_with('\\')) return false;
  out->server = std::string(path.substr(0, serverEnd));
  out->share = std::string(share);
  out->rest = std::string(rest);
  return true;
}

std::string shareUrl(std::string_view address, std::string_view share, std::string_view rest) {
  std::string url = "smb://";
  appendEscaped(url, address);
  url += '/';
  appendEscaped(url, share);
  url += '/';
  std::size_t start = 0;
  while (start < rest.size()) {
    const auto end = rest.find('\\', start);
    const auto part = rest.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    appendEscaped(url, part);
    if (end == std::string_view::npos) break;
    url += '/';
    start = end + 1;
  }
  return url;
}

bool validDirectoryName(std::string_view name) {
  if (name.empty() || name == "." || name == "..") return false;
  for (const char ch : name) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || std::string_view("<>:\"/\\|?*").find(ch) != std::string_view::npos) return false;
  }
  return !name.ends_with(' ') && !name.ends_with('.');
}

}  // namespace platform::samba
