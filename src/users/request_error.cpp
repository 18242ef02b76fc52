#include "users/request_error.h"

#include "platform/status_text.h"
#include "resources/strings.h"
#include "ui/messages.h"

namespace users {

void ReportUserRequestError(ui::Messages& messages, platform::NET_API_STATUS status) {
  if (status == kRequestAbandoned) return;
  // The general text, then the system's reason for the status, once.
  const std::string reason = platform::statusText(status);
  messages.ok(res::str(59241) + (reason.empty() ? "" : "\n" + reason), res::str(59251),
              ui::Icon::Error);
}

}  // namespace users
