#include "platform/network_logon.h"

#include <cstring>

namespace platform {

LogonAnswer::~LogonAnswer() { wipeSecret(password); }

void wipeSecret(std::string& text) {
  if (!text.empty()) ::explicit_bzero(text.data(), text.size());
  text.clear();
}

}  // namespace platform
