#include "platform/samba/status_codes.h"

namespace platform::samba {
namespace {

constexpr DWORD kUserExists = 1316;        // ERROR_USER_EXISTS
constexpr DWORD kNoSuchUser = 1317;        // ERROR_NO_SUCH_USER
constexpr DWORD kGroupExists = 1318;       // ERROR_GROUP_EXISTS
constexpr DWORD kNoSuchGroup = 1319;       // ERROR_NO_SUCH_GROUP
constexpr DWORD kMemberInGroup = 1320;     // ERROR_MEMBER_IN_GROUP
constexpr DWORD kMemberNotInGroup = 1321;  // ERROR_MEMBER_NOT_IN_GROUP
constexpr DWORD kPasswordRestriction = 1325;
constexpr DWORD kNoneMapped = 1332;
// The server could not be reached: bad network name, host unreachable,
// connection refused or timed out, RPC server unavailable, and the
// library's "destination not found" for a controller that stopped answering
// while it connected.
constexpr DWORD kUnreachable[] = {51, 64, 67, 1203, 1214, 1231, 1225, 1460, 1722, 2114, 2152};

}  // namespace

DWORD platformStatus(DWORD status, Family family) {
  for (DWORD code : kUnreachable) {
    if (status == code) return ERROR_BAD_NETPATH;
  }
  switch (status) {
    case kUserExists:
      return NERR_UserExists;
    case kGroupExists:
      return family == Family::LocalGroup ? ERROR_ALIAS_EXISTS : NERR_GroupExists;
    case kPasswordRestriction:
      return NERR_PasswordTooShort;
    case kMemberInGroup:
      return family == Family::LocalGroup ? ERROR_MEMBER_IN_ALIAS : NERR_UserInGroup;
    case kMemberNotInGroup:
      return family == Family::LocalGroup ? ERROR_MEMBER_NOT_IN_ALIAS : NERR_UserNotInGroup;
    case kNoSuchUser:
      return NERR_UserNotFound;
    case kNoSuchGroup:
      return NERR_GroupNotFound;
    case kNoneMapped:
      // A name that maps to nothing: the account the call is about.
      switch (family) {
        case Family::User: return NERR_UserNotFound;
        case Family::Group:
        case Family::LocalGroup: return NERR_GroupNotFound;
        case Family::Other: return status;
      }
      return status;
    default:
      return status;
  }
}

}  // namespace platform::samba
