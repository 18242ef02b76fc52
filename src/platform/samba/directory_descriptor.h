#pragma once
// Security descriptors of directory objects (nTSecurityDescriptor) in their
// self-relative binary form: read into parts and entries a change can be
// made on, and written back. A descriptor written unchanged gives the bytes
// it was read from; entries of kinds not read here travel as opaque bytes.
// Every offset and length is checked against the bytes at hand: anything
// that does not hold together is "not a descriptor".

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform::samba {

// Entry types read here; every other type is kept as opaque bytes.
constexpr std::uint8_t kAccessAllowedAce = 0x00;
constexpr std::uint8_t kAccessDeniedAce = 0x01;
constexpr std::uint8_t kSystemAuditAce = 0x02;
constexpr std::uint8_t kAccessAllowedObjectAce = 0x05;
constexpr std::uint8_t kAccessDeniedObjectAce = 0x06;
constexpr std::uint8_t kSystemAuditObjectAce = 0x07;

constexpr std::uint8_t kInheritedAce = 0x10;  // entry flag

// An object entry's flags: which of its GUIDs are present.
constexpr std::uint32_t kObjectTypePresent = 0x1;
constexpr std::uint32_t kInheritedObjectTypePresent = 0x2;

// Descriptor control bits.
constexpr std::uint16_t kDaclPresent = 0x0004;
constexpr std::uint16_t kSaclPresent = 0x0010;
constexpr std::uint16_t kSelfRelative = 0x8000;

// The access right object entries use for extended rights.
constexpr std::uint32_t kControlAccess = 0x100;

// A GUID in its wire form: Data1, Data2 and Data3 little-endian, then Data4.
using Guid = std::array<std::uint8_t, 16>;

// One entry of an access control list, as it lies in the bytes read (the
// views point into them). For types not read here only type, flags and
// bytes are set.
struct AceView {
  std::uint8_t type = 0;
  std::uint8_t flags = 0;
  bool known = false;  // one of the types read here
  std::uint32_t mask = 0;
  std::uint32_t objectFlags = 0;  // object entries only
  std::optional<Guid> objectType;
  std::optional<Guid> inheritedObjectType;
  std::string_view sid;    // binary SID
  std::string_view tail;   // bytes after the SID within the entry
  std::string_view bytes;  // the whole entry
};

// An entry as a value.
struct DescriptorAce {
  std::uint8_t type = kAccessAllowedAce;
  std::uint8_t flags = 0;
  std::uint32_t mask = 0;
  // Object entries: the flags as read; the two presence bits are written
  // from the GUIDs held.
  std::uint32_t objectFlags = 0;
  std::optional<Guid> objectType;
  std::optional<Guid> inheritedObjectType;
  std::string sid;   // binary SID
  std::string tail;  // bytes after the SID within the entry, kept
  // A type not read here: the whole entry, written as it is (type and
  // flags above are copies, for looking at).
  std::string opaque;

  friend bool operator==(const DescriptorAce&, const DescriptorAce&) = default;
};

struct DescriptorAcl {
  std::uint8_t revision = 4;  // 2, or 4 (the directory's) with object entries
  std::uint8_t sbz1 = 0;
  std::uint16_t sbz2 = 0;
  std::vector<DescriptorAce> entries;
  std::string slack;  // bytes the list's size counts past its last entry

  friend bool operator==(const DescriptorAcl&, const DescriptorAcl&) = default;
};

struct DirectoryDescriptor {
  enum class Part : std::uint8_t { Owner, Group, Sacl, Dacl };

  std::uint8_t sbz1 = 0;
  std::uint16_t control = kSelfRelative;
  std::string owner;  // binary SIDs; empty: not in the descriptor
  std::string group;
  std::optional<DescriptorAcl> sacl;  // absent: no list in the bytes (control says
  std::optional<DescriptorAcl> dacl;  // whether one is present all the same)
  // The order the parts lay in, kept so that a descriptor written unchanged
  // is the one read; parts added later follow in the order of the header.
  std::vector<Part> layout;

  friend bool operator==(const DirectoryDescriptor&, const DirectoryDescriptor&) = default;
};

// The descriptor in `bytes`; nullopt when they are not one.
std::optional<DirectoryDescriptor> decodeDescriptor(std::string_view bytes);
// Its self-relative form: the parts in their layout, each list's size and
// revision (4 once it holds object entries) worked out again. nullopt when
// a list or entry outgrows its 16-bit size.
std::optional<std::string> encodeDescriptor(const DirectoryDescriptor& descriptor);

// The DACL's entries read in place, for readers that look for one entry
// among thousands of accounts: visit is called for each in order. False
// when the header or the DACL does not hold together (entries before the
// fault may have been visited); true for a descriptor without DACL.
bool visitDaclEntries(std::string_view descriptor,
                      const std::function<void(const AceView&)>& visit);

}  // namespace platform::samba
