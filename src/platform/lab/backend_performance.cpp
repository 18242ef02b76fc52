// Connection performance of the lab's shares: the share's machine answers
// with its link figures.

#include "platform/lab/lab_network.h"
#include "platform/lab/resolve.h"

namespace lab {

using namespace platform;

namespace {

constexpr DWORD ERROR_BAD_NET_NAME = 67;

}  // namespace

DWORD LabNetwork::MultinetGetConnectionPerformance(const NETRESOURCE& resource,
                                                   NETCONNECTINFOSTRUCT* info) {
  if (!info || info->cbStructure < 20) return ERROR_INVALID_PARAMETER;
  const std::string& name = resource.lpRemoteName;
  if (!name.starts_with("\\\\")) return ERROR_BAD_NET_NAME;
  const std::size_t slash = name.find('\\', 2);
  if (slash == std::string::npos) return ERROR_BAD_NET_NAME;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, name.substr(0, slash), "MultinetGetConnectionPerformance", &status);
    if (!m) return status;
    if (!m->findShare(std::string_view(name).substr(slash + 1))) return ERROR_BAD_NET_NAME;
    info->dwFlags = m->link.flags;
    info->dwSpeed = m->link.speed;
    info->dwDelay = m->link.delay;
    info->dwOptDataSize = m->link.optDataSize;
    return NERR_Success;
  });
}

}  // namespace lab
