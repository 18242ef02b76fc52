#pragma once
// Security descriptors of files and directories as GetFileSecurity returns
// them, with the readers the Files walks use. A descriptor is a value: it
// holds only the parts that were asked for.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/types.h"

namespace platform {

using BYTE = std::uint8_t;
using ACCESS_MASK = DWORD;
using SECURITY_INFORMATION = DWORD;

constexpr SECURITY_INFORMATION OWNER_SECURITY_INFORMATION = 0x1;
constexpr SECURITY_INFORMATION GROUP_SECURITY_INFORMATION = 0x2;
constexpr SECURITY_INFORMATION DACL_SECURITY_INFORMATION = 0x4;

constexpr BYTE ACCESS_ALLOWED_ACE_TYPE = 0;
constexpr BYTE ACCESS_DENIED_ACE_TYPE = 1;
constexpr BYTE SYSTEM_AUDIT_ACE_TYPE = 2;

constexpr BYTE OBJECT_INHERIT_ACE = 0x1;
constexpr BYTE CONTAINER_INHERIT_ACE = 0x2;
constexpr BYTE NO_PROPAGATE_INHERIT_ACE = 0x4;
constexpr BYTE INHERIT_ONLY_ACE = 0x8;
constexpr BYTE INHERITED_ACE = 0x10;

constexpr ACCESS_MASK FILE_LIST_DIRECTORY = 0x1;
constexpr ACCESS_MASK FILE_ADD_FILE = 0x2;
constexpr ACCESS_MASK FILE_ADD_SUBDIRECTORY = 0x4;
constexpr ACCESS_MASK DELETE = 0x10000;
constexpr ACCESS_MASK READ_CONTROL = 0x20000;
constexpr ACCESS_MASK WRITE_DAC = 0x40000;
constexpr ACCESS_MASK WRITE_OWNER = 0x80000;
constexpr ACCESS_MASK SYNCHRONIZE = 0x100000;
constexpr ACCESS_MASK FILE_GENERIC_READ = 0x120089;
constexpr ACCESS_MASK FILE_GENERIC_WRITE = 0x120116;
constexpr ACCESS_MASK FILE_GENERIC_EXECUTE = 0x1200A0;
constexpr ACCESS_MASK FILE_ALL_ACCESS = 0x1F01FF;
constexpr ACCESS_MASK GENERIC_ALL = 0x10000000;
constexpr ACCESS_MASK GENERIC_EXECUTE = 0x20000000;
constexpr ACCESS_MASK GENERIC_WRITE = 0x40000000;
constexpr ACCESS_MASK GENERIC_READ = 0x80000000;

// The generic rights of a mask replaced by the file rights they stand for.
ACCESS_MASK MapGenericFileMask(ACCESS_MASK mask);

struct ACE {
  BYTE AceType = ACCESS_ALLOWED_ACE_TYPE;
  BYTE AceFlags = 0;
  ACCESS_MASK Mask = 0;
  SID Sid;
  friend bool operator==(const ACE&, const ACE&) = default;
};

struct ACL {
  std::vector<ACE> aces;
  friend bool operator==(const ACL&, const ACL&) = default;
};

struct ACL_SIZE_INFORMATION {
  DWORD AceCount = 0;
  DWORD AclBytesInUse = 0;
  DWORD AclBytesFree = 0;
};

struct SECURITY_DESCRIPTOR {
  bool valid = true;  // false: the bytes read do not form a descriptor
  std::optional<SID> owner;  // absent: no owner in the descriptor
  bool daclPresent = false;
  std::optional<ACL> dacl;  // present but absent here: a NULL DACL (everyone, everything)
};

// The bytes a descriptor takes in its self-relative form (GetFileSecurity's
// buffer length is measured against this).
DWORD SecurityDescriptorLength(const SECURITY_DESCRIPTOR& sd);
DWORD SidLength(const SID& sid);

BOOL IsValidSecurityDescriptor(const SECURITY_DESCRIPTOR& sd);
// *owner is null when the descriptor holds none. ERROR_INVALID_SECURITY_DESCR
// for an invalid descriptor.
DWORD GetSecurityDescriptorOwner(const SECURITY_DESCRIPTOR& sd, const SID** owner,
                                 BOOL* defaulted);
// *present says whether the descriptor has a DACL; with one present, *dacl is
// null for a NULL DACL.
DWORD GetSecurityDescriptorDacl(const SECURITY_DESCRIPTOR& sd, BOOL* present, const ACL** dacl,
                                BOOL* defaulted);
DWORD GetAclInformation(const ACL& acl, ACL_SIZE_INFORMATION* info);
// ERROR_INVALID_PARAMETER for an index past the last entry.
DWORD GetAce(const ACL& acl, DWORD index, const ACE** ace);
BOOL EqualSid(const SID& a, const SID& b);

}  // namespace platform
