#pragma once
// What the user properties dialog shows and edits, in its three modes: a
// new account, one account, or one set of changes for several accounts.
// Plain C++: the dialog exchanges these fields with its controls, and the
// load and OK steps (user_load.h, user_write.h) work on them alone.

#include <string>
#include <string_view>
#include <vector>

#include "platform/dialin.h"
#include "platform/netapi.h"
#include "users/logon_limits.h"

namespace users {

enum class UserMode { New, Single, Multiple };

// Check-box states; Mixed only in the multiple mode, where some of the
// accounts have the property and some have not.
enum class Tick { Off = 0, On = 1, Mixed = 2 };

// A password field still holding this text leaves the password unchanged.
inline constexpr std::string_view kUnchangedPassword = "**************";

// The callback type of a new account: no radio button chosen.
inline constexpr platform::DWORD kNoCallbackType = 0xFFFF'FFFF;

struct DialinFields {
  // False when the dial-in library could not read the settings: the
  // controls are hidden and nothing is written back.
  bool readable = false;
  Tick allowed = Tick::Off;
  std::string callbackNumber;
  platform::DWORD callbackType = platform::RAS_CALLBACK_NONE;
};

struct UserFields {
  UserMode mode = UserMode::Single;
  // Single mode: the account; new mode: the name typed for the new account.
  std::string name;
  // Multiple mode: the accounts, sorted as their list shows them.
  std::vector<std::string> names;

  std::string fullName;
  std::string description;
  std::string password;
  std::string confirmation;
  std::string lastLogon;

  Tick mustChange = Tick::Off;
  Tick cannotChange = Tick::Off;
  Tick neverExpires = Tick::Off;
  Tick disabled = Tick::Off;
  Tick lockedOut = Tick::Off;
  // The lockout box can only clear a lockout, so it is live only when an
  // account is locked out.
  bool lockoutEnabled = false;

  DialinFields dialin;

  std::string profile;
  std::string script;
  std::string homeDrive;
  std::string homeDir;

  // The Hours, Logon To and Account buttons' settings.
  LogonLimits limits;

  // Membership entries: "(G) name", "(L) name" or "(I) name".
  std::vector<std::string> memberOf;
  std::vector<std::string> notMemberOf;
  // Entries moved by the move buttons since the dialog opened; a move back
  // cancels the earlier one instead of being recorded.
  std::vector<std::string> pendingRemovals;
  std::vector<std::string> pendingAdditions;

  // Single mode: the account as read, which the OK step changes and writes.
  platform::USER_INFO_3 record;
  bool recordRead = false;
};

}  // namespace users
