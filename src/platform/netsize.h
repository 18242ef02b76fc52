#pragma once
// The fixed size model that the preferred maximum length of the Net*
// enumerations is measured against. An entry costs its 32-bit structure
// (4 bytes per field, pointers included) plus every string it points to as
// UTF-16 with its terminating zero (2 bytes per UTF-16 unit), plus the bytes
// of any other data it points to (a SID in binary form, logon hours).

#include <string_view>

#include "platform/netapi.h"

namespace platform {

// UTF-16 units of a UTF-8 text (a character beyond U+FFFF is two units).
DWORD utf16Units(std::string_view utf8);
// Bytes of a string pointed to by an entry: UTF-16 with terminator.
DWORD netStringSize(std::string_view utf8);
// Bytes of a SID in binary form (8 + 4 per sub-authority); 0 for no SID.
DWORD netSidSize(const SID& sid);

DWORD netEntrySize(const USER_INFO_0& e);
DWORD netEntrySize(const USER_INFO_1& e);
DWORD netEntrySize(const USER_INFO_3& e);
DWORD netEntrySize(const GROUP_INFO_0& e);
DWORD netEntrySize(const GROUP_INFO_1& e);
DWORD netEntrySize(const GROUP_INFO_2& e);
DWORD netEntrySize(const GROUP_USERS_INFO_0& e);
DWORD netEntrySize(const GROUP_USERS_INFO_1& e);
DWORD netEntrySize(const LOCALGROUP_INFO_0& e);
DWORD netEntrySize(const LOCALGROUP_INFO_1& e);
DWORD netEntrySize(const LOCALGROUP_MEMBERS_INFO_0& e);
DWORD netEntrySize(const LOCALGROUP_MEMBERS_INFO_1& e);
DWORD netEntrySize(const LOCALGROUP_MEMBERS_INFO_2& e);
DWORD netEntrySize(const LOCALGROUP_MEMBERS_INFO_3& e);
DWORD netEntrySize(const LOCALGROUP_USERS_INFO_0& e);
DWORD netEntrySize(const NET_DISPLAY_USER& e);
DWORD netEntrySize(const NET_DISPLAY_MACHINE& e);
DWORD netEntrySize(const NET_DISPLAY_GROUP& e);
DWORD netEntrySize(const SERVER_INFO_100& e);
DWORD netEntrySize(const SERVER_INFO_101& e);
DWORD netEntrySize(const SESSION_INFO_2& e);
DWORD netEntrySize(const FILE_INFO_3& e);
DWORD netEntrySize(const SHARE_INFO_1& e);
DWORD netEntrySize(const SHARE_INFO_2& e);

}  // namespace platform
