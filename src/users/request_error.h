#pragma once
// The general report after a failed user or group request (a deletion, a
// copy): one sentence, never the code. Shared by the user and group commands.

#include "platform/types.h"

namespace ui {
class Messages;
}

namespace users {

// The code a request gives when the user already chose not to go on, or the
// failure was already reported: it needs no report.
inline constexpr platform::NET_API_STATUS kRequestAbandoned = 666;

void ReportUserRequestError(ui::Messages& messages, platform::NET_API_STATUS status);

}  // namespace users
