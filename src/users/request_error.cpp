#include "users/request_error.h"

#include "resources/strings.h"
#include "ui/messages.h"

namespace users {

void reportUserRequestError(ui::Messages& messages, platform::NET_API_STATUS status) {
  if (status == kRequestAbandoned) return;
  messages.ok("An error occurred while processing the last user request.", res::programTitle(),
              ui::Icon::Error);
}

}  // namespace users
