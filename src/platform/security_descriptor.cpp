#include "platform/security_descriptor.h"

#include <algorithm>

namespace platform {

ACCESS_MASK MapGenericFileMask(ACCESS_MASK mask) {
  ACCESS_MASK mapped = mask & ~(GENERIC_ALL | GENERIC_EXECUTE | GENERIC_WRITE | GENERIC_READ);
  if (mask & GENERIC_READ) mapped |= FILE_GENERIC_READ;
  if (mask & GENERIC_WRITE) mapped |= FILE_GENERIC_WRITE;
  if (mask & GENERIC_EXECUTE) mapped |= FILE_GENERIC_EXECUTE;
  if (mask & GENERIC_ALL) mapped |= FILE_ALL_ACCESS;
  return mapped;
}

DWORD SidLength(const SID& sid) {
  if (sid.empty()) return 0;
  // "S-1-5-21-a-b-c-d": revision and authority, then one dash per
  // sub-authority after the second field.
  const auto dashes = static_cast<DWORD>(std::count(sid.value.begin(), sid.value.end(), '-'));
  const DWORD subAuthorities = dashes >= 2 ? dashes - 2 : 0;
  return 8 + 4 * subAuthorities;
}

DWORD SecurityDescriptorLength(const SECURITY_DESCRIPTOR& sd) {
  DWORD length = 20;
  if (sd.owner) length += SidLength(*sd.owner);
  if (sd.daclPresent && sd.dacl) {
    length += 8;
    for (const ACE& ace : sd.dacl->aces) length += 8 + SidLength(ace.Sid);
  }
  return length;
}

BOOL IsValidSecurityDescriptor(const SECURITY_DESCRIPTOR& sd) { return sd.valid ? 1 : 0; }

DWORD GetSecurityDescriptorOwner(const SECURITY_DESCRIPTOR& sd, const SID** owner,
                                 BOOL* defaulted) {
  if (!sd.valid) return ERROR_INVALID_SECURITY_DESCR;
  if (owner) *owner = sd.owner ? &*sd.owner : nullptr;
  if (defaulted) *defaulted = 0;
  return ERROR_SUCCESS;
}

DWORD GetSecurityDescriptorDacl(const SECURITY_DESCRIPTOR& sd, BOOL* present, const ACL** dacl,
                                BOOL* defaulted) {
  if (!sd.valid) return ERROR_INVALID_SECURITY_DESCR;
  if (present) *present = sd.daclPresent ? 1 : 0;
  if (dacl) *dacl = sd.daclPresent && sd.dacl ? &*sd.dacl : nullptr;
  if (defaulted) *defaulted = 0;
  return ERROR_SUCCESS;
}

DWORD GetAclInformation(const ACL& acl, ACL_SIZE_INFORMATION* info) {
  if (!info) return ERROR_INVALID_PARAMETER;
  info->AceCount = static_cast<DWORD>(acl.aces.size());
  DWORD bytes = 8;
  for (const ACE& ace : acl.aces) bytes += 8 + SidLength(ace.Sid);
  info->AclBytesInUse = bytes;
  info->AclBytesFree = 0;
  return ERROR_SUCCESS;
}

DWORD GetAce(const ACL& acl, DWORD index, const ACE** ace) {
  if (!ace || index >= acl.aces.size()) return ERROR_INVALID_PARAMETER;
  *ace = &acl.aces[index];
  return ERROR_SUCCESS;
}

BOOL EqualSid(const SID& a, const SID& b) { return !a.empty() && a == b ? 1 : 0; }

}  // namespace platform
