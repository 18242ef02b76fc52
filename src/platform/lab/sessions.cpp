#include <algorithm>

#include "platform/lab/model.h"

namespace lab {

std::size_t Machine::endSessions(std::string_view client, std::string_view user) {
  const std::string c = upper(client);
  const std::string u = upper(user);
  return std::erase_if(sessions, [&](const Session& s) {
    return (c.empty() || upper(s.client) == c) && (u.empty() || upper(s.user) == u);
  });
}

}  // namespace lab
