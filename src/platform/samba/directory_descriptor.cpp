#include "platform/samba/directory_descriptor.h"

#include <algorithm>
#include <limits>

namespace platform::samba {
namespace {

constexpr std::size_t kHeaderSize = 20;
constexpr std::size_t kAclHeaderSize = 8;
constexpr std::size_t kAceHeaderSize = 4;
constexpr std::size_t kMaxSubAuthorities = 15;

std::uint8_t byteAt(std::string_view b, std::size_t at) { return static_cast<std::uint8_t>(b[at]); }

// Little-endian numbers; the caller has checked the bytes are there.
std::uint16_t le16(std::string_view b, std::size_t at) {
  return static_cast<std::uint16_t>(byteAt(b, at) | (byteAt(b, at + 1) << 8));
}
std::uint32_t le32(std::string_view b, std::size_t at) {
  return static_cast<std::uint32_t>(le16(b, at)) |
         (static_cast<std::uint32_t>(le16(b, at + 2)) << 16);
}

void put16(std::string& out, std::uint16_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>(v >> 8);
}
void put32(std::string& out, std::uint32_t v) {
  put16(out, static_cast<std::uint16_t>(v & 0xFFFF));
  put16(out, static_cast<std::uint16_t>(v >> 16));
}
void set16(std::string& out, std::size_t at, std::uint16_t v) {
  out[at] = static_cast<char>(v & 0xFF);
  out[at + 1] = static_cast<char>(v >> 8);
}
void set32(std::string& out, std::size_t at, std::uint32_t v) {
  set16(out, at, static_cast<std::uint16_t>(v & 0xFFFF));
  set16(out, at + 2, static_cast<std::uint16_t>(v >> 16));
}

// The length of the SID at the front of `b`; 0 when it is no SID or runs
// past the end.
std::size_t sidLength(std::string_view b) {
  if (b.size() < 8 || byteAt(b, 0) != 1) return 0;
  const std::size_t count = byteAt(b, 1);
  if (count > kMaxSubAuthorities) return 0;
  const std::size_t length = 8 + 4 * count;
  return length <= b.size() ? length : 0;
}

bool isObjectType(std::uint8_t type) {
  // The object entries: allowed, denied, audit, alarm, and their callback
  // forms.
  return (type >= 0x05 && type <= 0x08) || type == 0x0B || type == 0x0C || type == 0x0F ||
         type == 0x10;
}

// The entry at the front of `b` (the rest of its list); nullopt when its
// size is below a header, runs past the list, or its SID does not fit.
std::optional<AceView> readAce(std::string_view b) {
  if (b.size() < kAceHeaderSize) return std::nullopt;
  const std::size_t size = le16(b, 2);
  if (size < kAceHeaderSize || size > b.size()) return std::nullopt;
  AceView ace;
  ace.type = byteAt(b, 0);
  ace.flags = byteAt(b, 1);
  ace.bytes = b.substr(0, size);
  const std::string_view body = ace.bytes;
  std::size_t at = kAceHeaderSize + 4;
  switch (ace.type) {
    case kAccessAllowedAce:
    case kAccessDeniedAce:
    case kSystemAuditAce:
      break;
    case kAccessAllowedObjectAce:
    case kAccessDeniedObjectAce:
    case kSystemAuditObjectAce: {
      if (body.size() < at + 4) return std::nullopt;
      ace.objectFlags = le32(body, at);
      at += 4;
      for (auto [bit, guid] : {std::pair{kObjectTypePresent, &ace.objectType},
                               std::pair{kInheritedObjectTypePresent, &ace.inheritedObjectType}}) {
        if (!(ace.objectFlags & bit)) continue;
        if (body.size() < at + 16) return std::nullopt;
        Guid g;
        std::copy_n(body.begin() + static_cast<std::ptrdiff_t>(at), 16, g.begin());
        *guid = g;
        at += 16;
      }
      break;
    }
    default:
      return ace;  // kept as it is
  }
  if (body.size() < kAceHeaderSize + 4) return std::nullopt;
  ace.mask = le32(body, kAceHeaderSize);
  const std::size_t sid = sidLength(body.substr(std::min(at, body.size())));
  if (sid == 0) return std::nullopt;
  ace.known = true;
  ace.sid = body.substr(at, sid);
  ace.tail = body.substr(at + sid);
  return ace;
}

struct AclBounds {
  std::uint8_t revision = 0;
  std::uint8_t sbz1 = 0;
  std::uint16_t sbz2 = 0;
  std::size_t count = 0;
  std::string_view entries;  // the list's bytes after its header
};

// The list at `offset`: its size within the descriptor, a revision the
// directory writes.
std::optional<AclBounds> aclAt(std::string_view b, std::size_t offset) {
  if (offset < kHeaderSize || offset > b.size() || b.size() - offset < kAclHeaderSize)
    return std::nullopt;
  AclBounds acl;
  acl.revision = byteAt(b, offset);
  if (acl.revision < 2 || acl.revision > 4) return std::nullopt;
  acl.sbz1 = byteAt(b, offset + 1);
  const std::size_t size = le16(b, offset + 2);
  acl.count = le16(b, offset + 4);
  acl.sbz2 = le16(b, offset + 6);
  if (size < kAclHeaderSize || size > b.size() - offset) return std::nullopt;
  acl.entries = b.substr(offset + kAclHeaderSize, size - kAclHeaderSize);
  return acl;
}

// Walks a list's entries; the bytes left after the last, or nullopt when
// an entry does not hold together.
std::optional<std::string_view> walkAcl(const AclBounds& acl,
                                        const std::function<void(const AceView&)>& visit) {
  std::string_view rest = acl.entries;
  for (std::size_t i = 0; i < acl.count; ++i) {
    const auto ace = readAce(rest);
    if (!ace) return std::nullopt;
    visit(*ace);
    rest.remove_prefix(ace->bytes.size());
  }
  return rest;
}

std::optional<DescriptorAcl> decodeAcl(std::string_view b, std::size_t offset) {
  const auto bounds = aclAt(b, offset);
  if (!bounds) return std::nullopt;
  DescriptorAcl acl;
  acl.revision = bounds->revision;
  acl.sbz1 = bounds->sbz1;
  acl.sbz2 = bounds->sbz2;
  acl.entries.reserve(bounds->count);
  const auto slack = walkAcl(*bounds, [&](const AceView& v) {
    DescriptorAce& ace = acl.entries.emplace_back();
    ace.type = v.type;
    ace.flags = v.flags;
    if (!v.known) {
      ace.opaque = std::string(v.bytes);
      return;
    }
    ace.mask = v.mask;
    ace.objectFlags = v.objectFlags;
    ace.objectType = v.objectType;
    ace.inheritedObjectType = v.inheritedObjectType;
    ace.sid = std::string(v.sid);
    ace.tail = std::string(v.tail);
  });
  if (!slack) return std::nullopt;
  acl.slack = std::string(*slack);
  return acl;
}

struct HeaderOffsets {
  std::uint32_t owner, group, sacl, dacl;
};

std::optional<HeaderOffsets> header(std::string_view b) {
  if (b.size() < kHeaderSize || byteAt(b, 0) != 1) return std::nullopt;
  return HeaderOffsets{le32(b, 4), le32(b, 8), le32(b, 12), le32(b, 16)};
}

std::optional<std::string> sidAt(std::string_view b, std::size_t offset) {
  if (offset < kHeaderSize || offset > b.size()) return std::nullopt;
  const std::size_t length = sidLength(b.substr(offset));
  if (length == 0) return std::nullopt;
  return std::string(b.substr(offset, length));
}

bool encodeAce(const DescriptorAce& ace, std::string& out) {
  if (!ace.opaque.empty()) {
    out += ace.opaque;
    return true;
  }
  const std::size_t start = out.size();
  out += static_cast<char>(ace.type);
  out += static_cast<char>(ace.flags);
  put16(out, 0);  // the size, once known
  put32(out, ace.mask);
  if (ace.type == kAccessAllowedObjectAce || ace.type == kAccessDeniedObjectAce ||
      ace.type == kSystemAuditObjectAce) {
    std::uint32_t flags = ace.objectFlags & ~(kObjectTypePresent | kInheritedObjectTypePresent);
    if (ace.objectType) flags |= kObjectTypePresent;
    if (ace.inheritedObjectType) flags |= kInheritedObjectTypePresent;
    put32(out, flags);
    for (const auto& guid : {ace.objectType, ace.inheritedObjectType}) {
      if (guid) out.append(reinterpret_cast<const char*>(guid->data()), guid->size());
    }
  }
  out += ace.sid;
  out += ace.tail;
  const std::size_t size = out.size() - start;
  if (size > std::numeric_limits<std::uint16_t>::max()) return false;
  set16(out, start + 2, static_cast<std::uint16_t>(size));
  return true;
}

bool encodeAcl(const DescriptorAcl& acl, std::string& out) {
  if (acl.entries.size() > std::numeric_limits<std::uint16_t>::max()) return false;
  const std::size_t start = out.size();
  const bool objects = std::any_of(acl.entries.begin(), acl.entries.end(),
                                   [](const DescriptorAce& a) { return isObjectType(a.type); });
  out += static_cast<char>(objects && acl.revision < 4 ? 4 : acl.revision);
  out += static_cast<char>(acl.sbz1);
  put16(out, 0);  // the size, once known
  put16(out, static_cast<std::uint16_t>(acl.entries.size()));
  put16(out, acl.sbz2);
  for (const DescriptorAce& ace : acl.entries) {
    if (!encodeAce(ace, out)) return false;
  }
  out += acl.slack;
  const std::size_t size = out.size() - start;
  if (size > std::numeric_limits<std::uint16_t>::max()) return false;
  set16(out, start + 2, static_cast<std::uint16_t>(size));
  return true;
}

}  // namespace

std::optional<DirectoryDescriptor> decodeDescriptor(std::string_view bytes) {
  const auto offsets = header(bytes);
  if (!offsets) return std::nullopt;
  DirectoryDescriptor d;
  d.sbz1 = byteAt(bytes, 1);
  d.control = le16(bytes, 2);
  using Part = DirectoryDescriptor::Part;
  std::vector<std::pair<std::uint32_t, Part>> found;
  if (offsets->owner) {
    auto sid = sidAt(bytes, offsets->owner);
    if (!sid) return std::nullopt;
    d.owner = std::move(*sid);
    found.emplace_back(offsets->owner, Part::Owner);
  }
  if (offsets->group) {
    auto sid = sidAt(bytes, offsets->group);
    if (!sid) return std::nullopt;
    d.group = std::move(*sid);
    found.emplace_back(offsets->group, Part::Group);
  }
  if (offsets->sacl) {
    d.sacl = decodeAcl(bytes, offsets->sacl);
    if (!d.sacl) return std::nullopt;
    found.emplace_back(offsets->sacl, Part::Sacl);
  }
  if (offsets->dacl) {
    d.dacl = decodeAcl(bytes, offsets->dacl);
    if (!d.dacl) return std::nullopt;
    found.emplace_back(offsets->dacl, Part::Dacl);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  for (const auto& [offset, part] : found) d.layout.push_back(part);
  return d;
}

std::optional<std::string> encodeDescriptor(const DirectoryDescriptor& d) {
  using Part = DirectoryDescriptor::Part;
  const auto present = [&](Part p) {
    switch (p) {
      case Part::Owner:
        return !d.owner.empty();
      case Part::Group:
        return !d.group.empty();
      case Part::Sacl:
        return d.sacl.has_value();
      case Part::Dacl:
        return d.dacl.has_value();
    }
    return false;
  };
  std::vector<Part> order;
  for (Part p : d.layout) {
    if (present(p) && std::find(order.begin(), order.end(), p) == order.end()) order.push_back(p);
  }
  for (Part p : {Part::Owner, Part::Group, Part::Sacl, Part::Dacl}) {
    if (present(p) && std::find(order.begin(), order.end(), p) == order.end()) order.push_back(p);
  }
  std::string out;
  out += static_cast<char>(1);
  out += static_cast<char>(d.sbz1);
  put16(out, d.control);
  out.append(16, '\0');  // the offsets, once known
  for (Part p : order) {
    if (out.size() > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    const auto offset = static_cast<std::uint32_t>(out.size());
    switch (p) {
      case Part::Owner:
        set32(out, 4, offset);
        out += d.owner;
        break;
      case Part::Group:
        set32(out, 8, offset);
        out += d.group;
        break;
      case Part::Sacl:
        set32(out, 12, offset);
        if (!encodeAcl(*d.sacl, out)) return std::nullopt;
        break;
      case Part::Dacl:
        set32(out, 16, offset);
        if (!encodeAcl(*d.dacl, out)) return std::nullopt;
        break;
    }
  }
  return out;
}

bool visitDaclEntries(std::string_view descriptor,
                      const std::function<void(const AceView&)>& visit) {
  const auto offsets = header(descriptor);
  if (!offsets) return false;
  if (offsets->dacl == 0) return true;
  const auto acl = aclAt(descriptor, offsets->dacl);
  return acl && walkAcl(*acl, visit).has_value();
}

}  // namespace platform::samba
