#include "users/request_error.h"

#include "resources/strings.h"
#include "ui/messages.h"

namespace users {

void ReportUserRequestError(ui::Messages& messages, platform::NET_API_STATUS status) {
  if (status == kRequestAbandoned) return;
  messages.ok(res::str(59241), res::str(59251), ui::Icon::Error);
}

}  // namespace users
