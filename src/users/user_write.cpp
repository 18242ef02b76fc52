#include "users/user_write.h"

#include <optional>
#include <vector>

#include "eventlog/event_report.h"
#include "platform/dialin.h"
#include "platform/netapi.h"
#include "platform/status_text.h"
#include "resources/strings.h"
#include "ui/messages.h"
#include "users/membership_write.h"

namespace users {

using namespace platform;

namespace {

void setBit(DWORD& flags, DWORD bit, Tick tick) {
  if (tick == Tick::On) flags |= bit;
  if (tick == Tick::Off) flags &= ~bit;
}

// The boxes onto an account as read; a mixed box leaves its bit alone, and
// the lockout box only ever clears a lockout.
void applyTicks(const UserFields& f, USER_INFO_3& record) {
  setBit(record.usri3_flags, UF_ACCOUNTDISABLE, f.disabled);
  setBit(record.usri3_flags, UF_DONT_EXPIRE_PASSWD, f.neverExpires);
  setBit(record.usri3_flags, UF_PASSWD_CANT_CHANGE, f.cannotChange);
  if (f.lockedOut == Tick::Off) record.usri3_flags &= ~UF_LOCKOUT;
  if (f.mustChange != Tick::Mixed) record.usri3_password_expired = f.mustChange == Tick::On;
}

// Shows the first conflict of the password options; true when there was one.
bool conflictShown(bool mustChange, bool cannotChange, bool neverExpires,
                   ui::Messages& messages) {
  if (mustChange && cannotChange) {
    messages.ok(res::str(59363), res::programTitle());
    return true;
  }
  if (neverExpires && mustChange) {
    messages.ok(res::str(59192), res::programTitle());
    return true;
  }
  return false;
}

bool mismatchShown(const UserFields& f, ui::Messages& messages) {
  if (f.password == f.confirmation) return false;
  messages.ok(res::str(59203), res::programTitle());
  return true;
}

// "Error#N" with the system's reason for the status N.
std::string errorNumber(DWORD status) {
  const std::string reason = platform::statusText(status);
  return "\nError#" + std::to_string(status) + (reason.empty() ? "" : ": " + reason);
}

// "Error#N" with the field the server refused, parameter N.
std::string parameterNumber(DWORD parameter) {
  const std::string field = platform::userParameterText(parameter);
  return "\nError#" + std::to_string(parameter) +
         (field.empty() ? "" : ": the server refused " + field + ".");
}

// The longest password the server keeps, in UTF-16 units as it counts them.
constexpr std::size_t kMaxPasswordUnits = 256;

std::size_t utf16Units(std::string_view utf8) {
  std::size_t units = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if ((byte & 0xC0) == 0x80) continue;  // a continuation byte
    units += byte >= 0xF0 ? 2 : 1;        // four-byte sequences need a surrogate pair
  }
  return units;
}

bool tooLongShown(const UserFields& f, ui::Messages& messages) {
  if (utf16Units(f.password) <= kMaxPasswordUnits) return false;
  messages.ok("A password can be at most " + std::to_string(kMaxPasswordUnits) +
                  " characters long.",
              res::programTitle());
  return true;
}

void reportWriteFailure(DWORD status, DWORD parameter, ui::Messages& messages) {
  if (status == ERROR_INVALID_PARAMETER)
    messages.ok(res::str(59193) + parameterNumber(parameter), "Illegal parameter given");
  else
    messages.ok(res::str(59193) + errorNumber(status) +
                    "\nPlease check you have sufficient rights in the target domain.",
                "Initializing user");
}

}  // namespace

// In the order the messages come: the all-modes conflict, the missing name
// of a new account, then what the single-account steps check.
bool checksPass(const UserFields& f, ui::Messages& messages) {
  if (conflictShown(f.mustChange == Tick::On, f.cannotChange == Tick::On, false, messages))
    return false;
  if (f.mode == UserMode::New && f.name.empty()) {
    messages.ok(res::str(59246), res::programTitle());
    return false;
  }
  if (conflictShown(f.mustChange == Tick::On, false, f.neverExpires == Tick::On, messages))
    return false;
  const bool typed = f.mode == UserMode::New || f.password != kUnchangedPassword;
  if (typed && mismatchShown(f, messages)) return false;
  if (typed && tooLongShown(f, messages)) return false;
  return true;
}

namespace {

WriteResult createAccount(std::string_view server, UserFields& f, bool logging,
                          ui::Messages& messages) {
  USER_INFO_1 info;
  info.usri1_name = f.name;
  info.usri1_password = f.password;
  info.usri1_priv = USER_PRIV_USER;
  // "Password not required" would let a blank password in on a real domain
  // later; only an account created without one needs it to be created.
  info.usri1_flags = f.password.empty() ? UF_SCRIPT | UF_PASSWD_NOTREQD : UF_SCRIPT;
  DWORD parameter = 0;
  const NET_API_STATUS st = NetUserAdd(server, 1, info, &parameter);
  switch (st) {
    case NERR_Success:
      break;
    case ERROR_INVALID_PARAMETER:
      messages.ok(res::str(59193) + parameterNumber(parameter), "Illegal parameter given");
      return WriteResult::StayOpen;
    case NERR_UserExists:
      messages.ok(res::str(59336), "Illegal operation attempt");
      return WriteResult::StayOpen;
    case NERR_NotPrimary:
      messages.ok(res::str(59327), res::programTitle());
      return WriteResult::StayOpen;
    case NERR_PasswordTooShort:
      messages.ok(res::str(59331), "Account Policy conflict");
      return WriteResult::StayOpen;
    default:
      reportWriteFailure(st, parameter, messages);
      return WriteResult::StayOpen;
  }
  // Reported at once: whatever follows, the account exists.
  if (logging) eventlog::reportEvent(eventlog::userAddedText(f.name), eventlog::kEventUserAdded);
  f.mode = UserMode::Single;
  f.password = std::string(kUnchangedPassword);
  f.confirmation = std::string(kUnchangedPassword);
  f.recordRead = false;
  return WriteResult::Close;
}

WriteResult writeSingle(std::string_view server, UserFields& f, ui::Messages& messages) {
  if (!f.recordRead) {
    NetBuffer buffer;
    const auto* record = NetUserGetInfo(server, f.name, 3, buffer) == NERR_Success
                             ? buffer.one<USER_INFO_3>()
                             : nullptr;
    if (!record) {
      messages.ok(res::str(59295), res::programTitle());
      return WriteResult::StayOpen;
    }
    f.record = *record;
    f.recordRead = true;
  }
  USER_INFO_3 record = f.record;
  record.usri3_full_name = f.fullName;
  record.usri3_comment = f.description;
  applyTicks(f, record);
  record.usri3_profile = f.profile;
  record.usri3_script_path = f.script;
  record.usri3_home_dir_drive = f.homeDrive;
  record.usri3_home_dir = f.homeDir;
  applyLimits(f.limits, record);
  record.usri3_password.clear();
  if (f.password != kUnchangedPassword) record.usri3_password = f.password;
  DWORD parameter = 0;
  const NET_API_STATUS st = NetUserSetInfo(server, f.name, 3, record, &parameter);
  if (st == ERROR_INVALID_PARAMETER) {
    reportWriteFailure(st, parameter, messages);
  } else if (st != NERR_Success) {
    reportWriteFailure(st, parameter, messages);
    return WriteResult::StayOpen;
  } else {
    record.usri3_password.clear();
    f.record = record;
    f.password = std::string(kUnchangedPassword);
    f.confirmation = std::string(kUnchangedPassword);
  }
  // Settings the library could not read are not written back over.
  if (f.dialin.readable)
    DoRAS(server, f.name, f.dialin.allowed == Tick::On ? 1 : 0, f.dialin.callbackNumber,
          f.dialin.callbackType);
  MembershipReport report(false);
  writeMemberships(server, f.name, f, report);
  report.show(messages);
  return WriteResult::Close;
}

std::optional<USER_INFO_3> readRecord(std::string_view server, const std::string& name) {
  NetBuffer buffer;
  if (NetUserGetInfo(server, name, 3, buffer) != NERR_Success) return std::nullopt;
  const auto* record = buffer.one<USER_INFO_3>();
  return record ? std::optional<USER_INFO_3>(*record) : std::nullopt;
}

bool resolved(Tick tick, bool current) { return tick == Tick::Mixed ? current : tick == Tick::On; }

WriteResult writeMultiple(std::string_view server, UserFields& f, ui::Messages& messages) {
  // What each account would end up with, checked before the first write.
  for (const std::string& name : f.names) {
    const std::optional<USER_INFO_3> record = readRecord(server, name);
    if (!record) continue;
    if (conflictShown(resolved(f.mustChange, record->usri3_password_expired != 0),
                      resolved(f.cannotChange, record->usri3_flags & UF_PASSWD_CANT_CHANGE),
                      resolved(f.neverExpires, record->usri3_flags & UF_DONT_EXPIRE_PASSWD),
                      messages))
      return WriteResult::StayOpen;
  }
  if (conflictShown(f.mustChange == Tick::On, f.cannotChange == Tick::On,
                    f.neverExpires == Tick::On, messages))
    return WriteResult::StayOpen;
  if (!f.password.empty() && mismatchShown(f, messages)) return WriteResult::StayOpen;

  // Untouched settings leave every account's own value; only the boxes
  // and buttons that were changed are written, the same to each account.
  const bool anyChange = f.mustChange != Tick::Mixed || f.cannotChange != Tick::Mixed ||
                       f.neverExpires != Tick::Mixed || f.disabled != Tick::Mixed ||
                       f.lockedOut != Tick::Mixed || f.limits.changed();
  MembershipReport report(true);
  for (const std::string& name : f.names) {
    if (!f.description.empty() &&
        NetUserSetInfo(server, name, 1007, USER_INFO_1007{f.description}, nullptr) != NERR_Success)
      report.failed("Error Updating Description: " + name);
    if (!f.password.empty() &&
        NetUserSetInfo(server, name, 1003, USER_INFO_1003{f.password}, nullptr) != NERR_Success)
      report.failed("Error Updating Password: " + name);
    std::optional<USER_INFO_3> record = readRecord(server, name);
    if (!record) {
      report.failed("Could not get user information\ntoset flags.\nUSER: " + name);
    } else if (anyChange) {
      applyTicks(f, *record);
      applyLimits(f.limits, *record);
      record->usri3_password.clear();
      DWORD parameter = 0;
      if (NetUserSetInfo(server, name, 3, *record, &parameter) != NERR_Success)
        report.failed(res::str(59193) + "\nUSER: " + name);
      else if (f.dialin.readable && f.dialin.allowed != Tick::Mixed)
        DoRAS(server, name, f.dialin.allowed == Tick::On ? 1 : 0, f.dialin.callbackNumber,
              f.dialin.callbackType);
    }
    writePendingChanges(server, name, f, report);
  }
  report.show(messages);
  return WriteResult::Close;
}

}  // namespace

WriteResult writeUser(std::string_view server, UserFields& f, bool logging,
                      ui::Messages& messages) {
  if (f.mode == UserMode::Multiple) return writeMultiple(server, f, messages);
  if (!checksPass(f, messages)) return WriteResult::StayOpen;
  if (f.mode == UserMode::New && createAccount(server, f, logging, messages) != WriteResult::Close)
    return WriteResult::StayOpen;
  return writeSingle(server, f, messages);
}

}  // namespace users
