#include "groups/group_members.h"

namespace groups {
namespace {

using namespace platform;

// Calls `read(buffer, &read, &total, &resume)` until it answers anything but
// "more data", collecting the entries of type T.
template <class T, class Out, class Read, class Take>
Members<Out> readPages(Read read, Take take) {
  Members<Out> members;
  DWORD resume = 0;
  for (;;) {
    NetBuffer buffer;
    DWORD got = 0;
    DWORD total = 0;
    const NET_API_STATUS status = read(buffer, &got, &total, &resume);
    if (status != NERR_Success && status != ERROR_MORE_DATA) {
      members.status = status;
      break;
    }
    const std::span<const T> page = buffer.get<T>();
    for (const T& entry : page) members.entries.push_back(take(entry));
    // A server that answers "more" without giving any would never end.
    if (status == NERR_Success || page.empty()) break;
  }
  return members;
}

}  // namespace

Members<std::string> globalGroupMembers(std::string_view server, std::string_view group,
                                        DWORD pageBytes) {
  return readPages<GROUP_USERS_INFO_0, std::string>(
      [&](NetBuffer& buffer, DWORD* got, DWORD* total, DWORD* resume) {
        return NetGroupGetUsers(server, group, 0, buffer, pageBytes, got, total, resume);
      },
      [](const GROUP_USERS_INFO_0& e) { return e.grui0_name; });
}

Members<LOCALGROUP_MEMBERS_INFO_2> localGroupMembers(std::string_view server,
                                                     std::string_view group, DWORD pageBytes) {
  return readPages<LOCALGROUP_MEMBERS_INFO_2, LOCALGROUP_MEMBERS_INFO_2>(
      [&](NetBuffer& buffer, DWORD* got, DWORD* total, DWORD* resume) {
        return NetLocalGroupGetMembers(server, group, 2, buffer, pageBytes, got, total, resume);
      },
      [](const LOCALGROUP_MEMBERS_INFO_2& e) { return e; });
}

}  // namespace groups
