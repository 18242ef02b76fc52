#pragma once
// Reports administrative changes to the event log of the machine the program
// runs on. Callers decide whether logging is on (`e_logging_onoff`) and build
// the text with the helpers below; the report itself never fails visibly,
// so the change that asked for it is never affected.

#include <string>
#include <string_view>

#include "platform/types.h"

namespace eventlog {

// The event source every report is written under.
inline constexpr std::string_view kEventSource = "Veltrane";

// Event ids; the string-table text of each id names the event.
inline constexpr platform::DWORD kEventUserAdded = 59271;     // "Attempt to add user"
inline constexpr platform::DWORD kEventGroupDeleted = 59272;  // "Attempt to delete group"
inline constexpr platform::DWORD kEventGroupAdded = 59273;    // "Attempt to add group"
inline constexpr platform::DWORD kEventUserDeleted = 59274;   // "Attempt to delete user"
// The automatic export could not create its file; reported whatever the
// logging switch says.
inline constexpr platform::DWORD kEventAutoExportFailed = 59288;

// Writes one information event (category 0) with `text` as its only string.
// A source that cannot be registered or a report that fails is ignored.
void reportEvent(std::string_view text, platform::DWORD eventId);

// The event texts: a fixed part ending in three blanks, then the name.
std::string userAddedText(std::string_view account);
std::string userDeletedText(std::string_view account);
std::string groupAddedText(std::string_view group, bool localGroup);
std::string groupDeletedText(std::string_view group);
std::string autoExportFailedText();

}  // namespace eventlog
