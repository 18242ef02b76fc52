#include "platform/status_text.h"

#include <array>
#include <utility>

namespace platform {

std::string statusText(DWORD status) {
  // Sized by its rows: a count written by hand left empty rows behind.
  static constexpr std::pair<DWORD, const char*> kTexts[] = {
      {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified."},
      {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified."},
      {ERROR_ACCESS_DENIED, "Access is denied."},
      {ERROR_NOT_ENOUGH_MEMORY, "Not enough memory is available."},
      {ERROR_WRITE_FAULT, "The server could not keep the change."},
      {ERROR_NOT_SUPPORTED, "The server does not support the request."},
      {ERROR_BAD_NETPATH, "The network path was not found."},
      {ERROR_BAD_NET_NAME, "The network name cannot be found."},
      {ERROR_REQ_NOT_ACCEP, "The server cannot accept more connections now."},
      {ERROR_INVALID_PARAMETER, "The parameter is incorrect."},
      {ERROR_INVALID_NAME, "The name is not valid."},
      {ERROR_INVALID_LEVEL, "The server does not know the level of the request."},
      {ERROR_ALREADY_EXISTS, "It exists already."},
      {ERROR_NO_SUCH_USER, "The user does not exist."},
      {ERROR_NONE_MAPPED, "No mapping between account names and security IDs was done."},
      // Codes a real domain's libraries give that have no name in the
      // platform's headers.
      {31, "A device attached to the system is not functioning."},
      {121, "The semaphore timeout period has expired."},
      {1222, "The network is not present or not started."},
      {1311, "There are currently no logon servers available to service the logon request."},
      {1326, "The user name or password is incorrect."},
      {1327, "Account restrictions are preventing this user from signing in."},
      {1330, "The password for this account has expired."},
      {1331, "This account is currently disabled."},
      {1355, "The specified domain either does not exist or could not be contacted."},
      {1722, "The RPC server is unavailable."},
      {1907, "The user's password must be changed before signing in."},
      {1909, "The referenced account is currently locked out."},
      {ERROR_INVALID_ACL, "The access control list is not valid."},
      {ERROR_INVALID_SECURITY_DESCR, "The security descriptor is not valid."},
      {ERROR_SPECIAL_ACCOUNT, "This operation cannot be performed on a built-in account."},
      {ERROR_MEMBERS_PRIMARY_GROUP,
       "The user cannot be removed from a group because the group is the user's primary group."},
      {ERROR_NO_SUCH_ALIAS, "The local group does not exist."},
      {ERROR_MEMBER_NOT_IN_ALIAS, "The account is not a member of the local group."},
      {ERROR_MEMBER_IN_ALIAS, "The account is a member of the local group already."},
      {ERROR_ALIAS_EXISTS, "The local group exists already."},
      {ERROR_NO_SUCH_MEMBER, "A new member could not be added because the member does not exist."},
      {ERROR_INVALID_MEMBER, "A new member could not be added because its account type is wrong."},
      {ERROR_FILE_CORRUPT, "The file or directory is corrupted and unreadable."},
      {NERR_InvalidComputer, "This computer name is invalid."},
      {NERR_GroupNotFound, "The group name could not be found."},
      {NERR_UserNotFound, "The user name could not be found."},
      {NERR_GroupExists, "The group exists already."},
      {NERR_UserExists, "The user account exists already."},
      {NERR_NotPrimary, "This operation is only allowed on the primary domain controller."},
      {NERR_UserInGroup, "The user belongs to this group already."},
      {NERR_UserNotInGroup, "The user does not belong to this group."},
      {NERR_PasswordTooShort,
       "The password does not meet the password policy requirements (length, history)."},
      {NERR_DuplicateShare, "The share name is already in use on this server."},
      {NERR_DCNotFound, "Could not find the domain controller for this domain."},
  };
  for (const auto& [code, text] : kTexts)
    if (code == status) return text;
  return {};
}

std::string userParameterText(DWORD parameter) {
  static constexpr std::array<std::pair<DWORD, const char*>, 15> kFields = {{
      {1, "the user name"},
      {3, "the password"},
      {5, "the privilege"},
      {6, "the home directory"},
      {7, "the description"},
      {8, "the account's flags"},
      {9, "the logon script"},
      {11, "the full name"},
      {12, "the user comment"},
      {13, "the parameters"},
      {14, "the workstations"},
      {17, "the account expiry"},
      {51, "the primary group"},
      {52, "the profile path"},
      {53, "the home directory drive"},
  }};
  for (const auto& [number, text] : kFields)
    if (number == parameter) return text;
  return {};
}

}  // namespace platform
