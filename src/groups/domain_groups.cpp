#include "groups/domain_groups.h"

#include "platform/wnet.h"

namespace groups {
namespace {

using namespace platform;

constexpr DWORD kBatchBytes = 0x28000;
constexpr DWORD kDisplayLevel = 3;
constexpr DWORD kDisplayEntries = 10000;
constexpr DWORD kDisplayBytes = 80000;

// Every child of `container`: the count is asked afresh for each batch, or
// the second batch would be held to the first one's size.
std::vector<NETRESOURCE> children(const NETRESOURCE* container) {
  std::vector<NETRESOURCE> all;
  HANDLE handle = 0;
  if (WNetOpenEnum(RESOURCE_GLOBALNET, RESOURCETYPE_ANY, 0, container, &handle) != NERR_Success)
    return all;
  std::vector<NETRESOURCE> batch;
  for (;;) {
    DWORD count = WNET_ALL_ENTRIES;
    DWORD size = kBatchBytes;
    if (WNetEnumResource(handle, &count, batch, &size) != NERR_Success) break;
    all.insert(all.end(), std::make_move_iterator(batch.begin()), std::make_move_iterator(batch.end()));
  }
  WNetCloseEnum(handle);
  return all;
}

}  // namespace

std::vector<std::string> networkDomainNames() {
  std::vector<std::string> names;
  for (const NETRESOURCE& provider : children(nullptr)) {
    if (provider.lpRemoteName.empty()) continue;
    for (const NETRESOURCE& entry : children(&provider))
      if (!entry.lpRemoteName.empty()) names.push_back(entry.lpRemoteName);
  }
  return names;
}

GroupNames displayGroupNames(std::string_view server) {
  GroupNames out;
  DWORD index = 0;
  for (;;) {
    NetBuffer buffer;
    DWORD returned = 0;
    const NET_API_STATUS status = NetQueryDisplayInformation(
        server, kDisplayLevel, index, kDisplayEntries, kDisplayBytes, &returned, buffer);
    if (status != NERR_Success && status != ERROR_MORE_DATA) {
      out.names.clear();
      out.status = status;
      return out;
    }
    const auto page = buffer.get<NET_DISPLAY_GROUP>();
    for (const NET_DISPLAY_GROUP& group : page) out.names.push_back(group.grpi3_name);
    if (status == NERR_Success || page.empty()) return out;
    index = page.back().grpi3_next_index;
  }
}

std::string localDomain(NET_API_STATUS* status) {
  NetBuffer buffer;
  *status = NetWkstaGetInfo({}, 100, buffer);
  const auto* info = buffer.one<WKSTA_INFO_100>();
  if (*status == NERR_Success && !info) *status = ERROR_INVALID_PARAMETER;
  return *status == NERR_Success ? info->wki100_langroup : std::string();
}

}  // namespace groups
