#include "platform/samba/directory.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "platform/message_text.h"
#include "platform/samba/ldb_client.h"

namespace platform::samba {

namespace {

// Samba's LDAP client is a module of its ldb, in Samba's own module folder.
constexpr const char* kModulesDir = VELTRANE_SAMBA_LDB_MODULES;

// An LDAP operation that gets no answer within this many seconds fails, so
// a controller that stops answering cannot hold a browse for ever.
constexpr int kRequestTimeout = 30;

// Security descriptors are read and written for their DACL only: the
// owner and group need more rights than the DACL, and are left alone.
constexpr const char* kDescriptor = "nTSecurityDescriptor";
constexpr unsigned kDaclOnly = 4;  // SECINFO_DACL

}  // namespace

std::string_view DirectoryEntry::text(std::string_view attribute) const {
  auto it = values.find(attribute);
  if (it == values.end() || it->second.empty()) return {};
  return it->second.front();
}

long long DirectoryEntry::number(std::string_view attribute, long long fallback) const {
  const std::string value(text(attribute));
  if (value.empty()) return fallback;
  char* end = nullptr;
  const long long n = std::strtoll(value.c_str(), &end, 10);
  return end && *end == '\0' ? n : fallback;
}

std::string DirectoryEntry::sid() const { return sidText(text("objectSid")); }

std::string sidText(std::string_view binary) {
  if (binary.size() < 8) return {};
  const auto byte = [&](std::size_t i) { return static_cast<std::uint8_t>(binary[i]); };
  const std::size_t count = byte(1);
  if (binary.size() != 8 + 4 * count) return {};
  std::uint64_t authority = 0;
  for (std::size_t i = 2; i < 8; ++i) authority = (authority << 8) | byte(i);
  std::string out = "S-";
  out += std::to_string(byte(0));
  out += '-';
  out += std::to_string(authority);
  for (std::size_t i = 0; i < count; ++i) {
    const std::size_t at = 8 + 4 * i;
    const std::uint32_t sub = byte(at) | (byte(at + 1) << 8) | (byte(at + 2) << 16) |
                              (static_cast<std::uint32_t>(byte(at + 3)) << 24);
    out += '-';
    out += std::to_string(sub);
  }
  return out;
}

std::string ldapEscape(std::string_view value) {
  std::string out;
  for (char c : value) {
    if (c == '*' || c == '(' || c == ')' || c == '\\' || c == '\0') {
      static constexpr char kHex[] = "0123456789abcdef";
      out += '\\';
      out += kHex[(static_cast<unsigned char>(c) >> 4) & 0xF];
      out += kHex[static_cast<unsigned char>(c) & 0xF];
    } else {
      out += c;
    }
  }
  return out;
}

Directory::Directory(vt_ldb* connection) : m_connection(connection) {}
Directory::~Directory() { vt_ldb_free(m_connection); }

std::unique_ptr<Directory> Directory::open(const std::string& address,
                                           const Credentials& credentials, std::string* error,
                                           bool* timedOut, int connectSeconds) {
  char why[512] = "";
  const std::string url = "ldap://" + address;
  int late = 0;
  vt_ldb* connection = vt_ldb_connect(
      kModulesDir, url.c_str(), credentials.user.c_str(), credentials.password.c_str(),
      credentials.domain.c_str(), credentials.kerberosCache ? 1 : 0, kRequestTimeout,
      connectSeconds, &late, why, sizeof why);
  if (timedOut) *timedOut = late != 0;
  if (!connection) {
    // The reason can be the server's own text.
    *error = "no directory at " + platform::messageText(address) + ": " +
             platform::messageText(why, platform::kWholeMessageChars);
    return nullptr;
  }
  auto directory = std::make_unique<Directory>(connection);
  const char* base = vt_ldb_base_dn(connection);
  if (!base || !*base) {
    *error = "the directory at " + platform::messageText(address) + " names no domain";
    return nullptr;
  }
  directory->m_baseDn = base;
  return directory;
}

bool Directory::search(std::string_view filter, const std::vector<std::string>& attributes,
                       std::vector<DirectoryEntry>* out, std::string_view base) {
  out->clear();
  return each(
      filter, attributes, [out](DirectoryEntry& entry) { out->push_back(std::move(entry)); },
      [out] { out->clear(); }, base);
}

bool Directory::each(std::string_view filter, const std::vector<std::string>& attributes,
                     const std::function<void(DirectoryEntry&)>& take,
                     const std::function<void()>& restart, std::string_view base) {
  // A connection that went quiet once would make every later request wait
  // its whole time-out again.
  if (m_broken) return false;
  std::vector<const char*> attrs;
  for (const auto& a : attributes) attrs.push_back(a.c_str());
  attrs.push_back(nullptr);
  const std::string baseText(base.empty() ? std::string_view(m_baseDn) : base);
  const std::string filterText(filter);
  const bool descriptor =
      std::find(attributes.begin(), attributes.end(), kDescriptor) != attributes.end();
  // One object at a time: it is handed on when the next one starts, and
  // the last at the end.
  struct Receiving {
    const std::function<void(DirectoryEntry&)>& take;
    const std::function<void()>& restart;
    std::optional<DirectoryEntry> current;
    void handOn() {
      if (current) take(*current);
      current.reset();
    }
  } receiving{take, restart, std::nullopt};
  const auto receive = [](void* context, const char* dn, const char* attribute, const char* value,
                          std::size_t length) {
    auto* r = static_cast<Receiving*>(context);
    if (!dn) {
      r->current.reset();
      r->restart();
      return;
    }
    if (!attribute) {
      r->handOn();
      r->current.emplace(DirectoryEntry{dn, {}});
      return;
    }
    if (r->current) r->current->values[attribute].emplace_back(value, length);
  };
  const int status = noted(vt_ldb_search(m_connection, baseText.c_str(), filterText.c_str(),
                                         attrs.data(), descriptor ? kDaclOnly : 0, receive,
                                         &receiving));
  if (status != 0) return false;
  receiving.handOn();
  return true;
}

int Directory::replace(const std::string& dn, const std::string& attribute,
                       const std::vector<std::string>& values) {
  constexpr int kUnavailable = 52;
  if (m_broken) return kUnavailable;
  std::vector<const char*> data;
  std::vector<std::size_t> lengths;
  for (const auto& v : values) {
    data.push_back(v.data());
    lengths.push_back(v.size());
  }
  return noted(vt_ldb_replace(m_connection, dn.c_str(), attribute.c_str(), data.data(),
                              lengths.data(), values.size(),
                              attribute == kDescriptor ? kDaclOnly : 0));
}

int Directory::noted(int status) {
  // ldb's codes for an operations error (the connection went away), a
  // time limit, a busy or unavailable server, and "other".
  constexpr int kTimeLimit = 3;
  constexpr int kGone[] = {1, kTimeLimit, 51, 52, 80};
  for (int code : kGone) {
    if (status == code) m_broken = true;
  }
  if (status == kTimeLimit) m_timedOut = true;
  return status;
}

}  // namespace platform::samba
