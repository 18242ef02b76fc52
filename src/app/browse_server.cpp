#include "app/browse_server.h"

#include "platform/netapi.h"
#include "platform/server_name.h"

namespace app {

std::optional<std::string> startServer() {
  std::string dc;
  if (platform::NetGetDCName({}, {}, &dc) == platform::NERR_Success && !dc.empty())
    return platform::uncName(dc);
  platform::NetBuffer buffer;
  if (platform::NetWkstaGetInfo({}, 100, buffer) == platform::NERR_Success) {
    if (const auto* info = buffer.one<platform::WKSTA_INFO_100>();
        info && !info->wki100_computername.empty())
      return "\\\\" + info->wki100_computername;
  }
  return std::nullopt;
}

}  // namespace app
