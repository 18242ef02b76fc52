#pragma once
// Basic Win32 types, status codes and constants of the platform API.
// Strings are UTF-8 std::string throughout; there are no raw buffers.

#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using DWORD = std::uint32_t;
using LONG = std::int32_t;
using WORD = std::uint16_t;
using BOOL = int;
using NET_API_STATUS = DWORD;

// Win32 status codes
constexpr DWORD ERROR_SUCCESS = 0;
constexpr DWORD NERR_Success = 0;
constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
constexpr DWORD ERROR_PATH_NOT_FOUND = 3;
constexpr DWORD ERROR_ACCESS_DENIED = 5;
constexpr DWORD ERROR_INVALID_HANDLE = 6;
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_NO_MORE_FILES = 18;
constexpr DWORD ERROR_WRITE_FAULT = 29;
constexpr DWORD ERROR_NOT_SUPPORTED = 50;
constexpr DWORD ERROR_BAD_NETPATH = 53;
constexpr DWORD ERROR_BAD_NET_NAME = 67;
constexpr DWORD ERROR_REQ_NOT_ACCEP = 71;
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_NAME = 123;
constexpr DWORD ERROR_INVALID_LEVEL = 124;
constexpr DWORD ERROR_ALREADY_EXISTS = 183;
constexpr DWORD ERROR_MORE_DATA = 234;
constexpr DWORD ERROR_NO_MORE_ITEMS = 259;
constexpr DWORD ERROR_NO_SUCH_USER = 1317;
constexpr DWORD ERROR_NONE_MAPPED = 1332;
constexpr DWORD ERROR_INVALID_ACL = 1336;
constexpr DWORD ERROR_INVALID_SECURITY_DESCR = 1338;
constexpr DWORD ERROR_SPECIAL_ACCOUNT = 1371;
constexpr DWORD ERROR_MEMBERS_PRIMARY_GROUP = 1374;
constexpr DWORD ERROR_NO_SUCH_ALIAS = 1376;
constexpr DWORD ERROR_MEMBER_NOT_IN_ALIAS = 1377;
constexpr DWORD ERROR_MEMBER_IN_ALIAS = 1378;
constexpr DWORD ERROR_ALIAS_EXISTS = 1379;
constexpr DWORD ERROR_NO_SUCH_MEMBER = 1387;
constexpr DWORD ERROR_INVALID_MEMBER = 1388;
constexpr DWORD ERROR_FILE_CORRUPT = 1392;
constexpr DWORD NERR_InvalidComputer = 2351;
constexpr DWORD NERR_GroupNotFound = 2220;
constexpr DWORD NERR_UserNotFound = 2221;
constexpr DWORD NERR_GroupExists = 2223;
constexpr DWORD NERR_UserExists = 2224;
constexpr DWORD NERR_NotPrimary = 2226;
constexpr DWORD NERR_UserInGroup = 2236;
constexpr DWORD NERR_UserNotInGroup = 2237;
constexpr DWORD NERR_UnknownDevDir = 2116;
constexpr DWORD NERR_DuplicateShare = 2118;
constexpr DWORD NERR_NetNameNotFound = 2310;
constexpr DWORD NERR_ClientNameNotFound = 2312;
constexpr DWORD NERR_PasswordTooShort = 2245;
constexpr DWORD NERR_DCNotFound = 2453;

constexpr DWORD MAX_PREFERRED_LENGTH = 0xFFFFFFFFu;
constexpr DWORD TIMEQ_FOREVER = 0xFFFFFFFFu;
constexpr DWORD USER_MAXSTORAGE_UNLIMITED = 0xFFFFFFFFu;

// A security identifier, kept in its text form ("S-1-5-21-...-1001").
// Empty means "no SID".
struct SID {
  std::string value;
  bool empty() const { return value.empty(); }
  friend bool operator==(const SID&, const SID&) = default;
};

enum SID_NAME_USE : DWORD {
  SidTypeUser = 1,
  SidTypeGroup = 2,
  SidTypeDomain = 3,
  SidTypeAlias = 4,
  SidTypeWellKnownGroup = 5,
  SidTypeDeletedAccount = 6,
  SidTypeInvalid = 7,
  SidTypeUnknown = 8,
  SidTypeComputer = 9,
};

}  // namespace platform
