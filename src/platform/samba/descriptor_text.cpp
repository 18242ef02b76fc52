#include "platform/samba/descriptor_text.h"

#include <charconv>
#include <string>

namespace platform::samba {
namespace {

bool isSid(std::string_view s) {
  if (!s.starts_with("S-1-") || s.size() < 5) return false;
  for (const char c : s.substr(4))
    if (c != '-' && (c < '0' || c > '9')) return false;
  return !s.ends_with('-') && s.find("--") == std::string_view::npos;
}

template <class T>
bool number(std::string_view s, T* out, int base) {
  // Some versions write the flags in hex too.
  if (s.starts_with("0x") || s.starts_with("0X")) {
    s.remove_prefix(2);
    base = 16;
  }
  if (s.empty()) return false;
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), *out, base);
  return ec == std::errc() && end == s.data() + s.size();
}

// "SID:type/flags/mask"
bool readAce(std::string_view text, ACE* ace) {
  const auto colon = text.rfind(':');
  if (colon == std::string_view::npos) return false;
  const std::string_view sid = text.substr(0, colon);
  const std::string_view rest = text.substr(colon + 1);
  const auto slash1 = rest.find('/');
  const auto slash2 = slash1 == std::string_view::npos ? slash1 : rest.find('/', slash1 + 1);
  if (slash2 == std::string_view::npos || !isSid(sid)) return false;
  unsigned type = 0, flags = 0;
  if (!number(rest.substr(0, slash1), &type, 10) ||
      !number(rest.substr(slash1 + 1, slash2 - slash1 - 1), &flags, 10) ||
      !number(rest.substr(slash2 + 1), &ace->Mask, 16) || type > 0xFF || flags > 0xFF)
    return false;
  ace->AceType = static_cast<BYTE>(type);
  ace->AceFlags = static_cast<BYTE>(flags);
  ace->Sid = SID{std::string(sid)};
  return true;
}

}  // namespace

SECURITY_DESCRIPTOR descriptorFromText(std::string_view text, SECURITY_INFORMATION requested) {
  SECURITY_DESCRIPTOR sd;
  std::optional<SID> owner;
  ACL acl;
  bool revision = false;
  while (!text.empty() && (text.back() == '\0' || text.back() == '\n')) text.remove_suffix(1);
  while (!text.empty()) {
    const auto comma = text.find(',');
    const std::string_view field = text.substr(0, comma);
    text = comma == std::string_view::npos ? std::string_view{} : text.substr(comma + 1);
    const auto colon = field.find(':');
    if (colon == std::string_view::npos) {
      sd.valid = false;
      return sd;
    }
    const std::string_view key = field.substr(0, colon);
    const std::string_view value = field.substr(colon + 1);
    bool ok = true;
    if (key == "REVISION") {
      unsigned r = 0;
      ok = revision = number(value, &r, 10);
    } else if (key == "OWNER") {
      // An owner the descriptor leaves out reads as an empty value.
      if (!value.empty()) {
        ok = isSid(value);
        owner = SID{std::string(value)};
      }
    } else if (key == "GROUP") {
      ok = value.empty() || isSid(value);
    } else if (key == "ACL") {
      ACE ace;
      ok = readAce(value, &ace);
      acl.aces.push_back(std::move(ace));
    }
    // Other fields (the descriptor's control bits in some versions) say
    // nothing the walks use.
    if (!ok) {
      sd.valid = false;
      return sd;
    }
  }
  if (!revision) {
    sd.valid = false;
    return sd;
  }
  if (requested & OWNER_SECURITY_INFORMATION) sd.owner = std::move(owner);
  if (requested & DACL_SECURITY_INFORMATION) {
    sd.daclPresent = true;
    sd.dacl = std::move(acl);
  }
  return sd;
}

}  // namespace platform::samba
