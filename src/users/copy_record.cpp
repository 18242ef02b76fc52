#include "users/copy_record.h"

#include <algorithm>

namespace users {

using namespace platform;

namespace {

constexpr std::string_view kUserNameVariable = "%USERNAME%";

char folded(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

bool sameLetters(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [](char x, char y) { return folded(x) == folded(y); });
}

// `text` with every "%USERNAME%", in any case, replaced by `name`.
std::string withUserName(std::string_view text, std::string_view name) {
  std::string out;
  std::size_t at = 0;
  while (at < text.size()) {
    if (sameLetters(text.substr(at, kUserNameVariable.size()), kUserNameVariable)) {
      out += name;
      at += kUserNameVariable.size();
    } else {
      out += text[at++];
    }
  }
  return out;
}

}  // namespace

std::string renamedPath(std::string_view path, std::string_view source, std::string_view copy) {
  std::string out;
  out.reserve(path.size() + copy.size());
  std::size_t start = 0;
  while (true) {
    const std::size_t end = std::min(path.find_first_of("\\/", start), path.size());
    const std::string_view element = path.substr(start, end - start);
    if (!source.empty() && sameLetters(element, source))
      out += copy;
    else
      out += withUserName(element, copy);
    if (end == path.size()) return out;
    out += path[end];
    start = end + 1;
  }
}

USER_INFO_3 copyRecord(const USER_INFO_3& source, const CopyDetails& details) {
  USER_INFO_3 record = source;
  record.usri3_name = details.name;
  record.usri3_full_name = details.fullName;
  record.usri3_home_dir = renamedPath(source.usri3_home_dir, source.usri3_name, details.name);
  record.usri3_profile = renamedPath(source.usri3_profile, source.usri3_name, details.name);
  record.usri3_password_expired = details.mustChange ? 1 : 0;
  record.usri3_flags &= ~UF_LOCKOUT;
  if (details.password.empty()) {
    // A password nobody knows, and disabled: a blank one would be refused by
    // any length policy, or make a live account without a password once
    // someone enables it. "Password not required", if the source has it,
    // stays: that is a setting of the account copied, and with no password
    // anyone knows it lets nobody in.
    record.usri3_password = std::string(kUnknownPassword);
    record.usri3_flags |= UF_ACCOUNTDISABLE;
  } else {
    // A password was given for someone to use it.
    record.usri3_password = details.password;
    record.usri3_flags &= ~UF_ACCOUNTDISABLE;
  }
  return record;
}

}  // namespace users
