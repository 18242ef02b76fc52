#pragma once
// The members of a group, read to the end: each read is paged at the size
// it asks for and repeated with its resume handle until the server has
// nothing more, so no member is lost to a full buffer.

#include <string>
#include <string_view>
#include <vector>

#include "platform/netapi.h"

namespace groups {

template <class T>
struct Members {
  std::vector<T> entries;
  platform::NET_API_STATUS status = platform::NERR_Success;  // the first failure, if any
};

// A global group's account names.
Members<std::string> globalGroupMembers(std::string_view server, std::string_view group,
                                        platform::DWORD pageBytes = platform::MAX_PREFERRED_LENGTH);
// A local group's members as "DOMAIN\name" with their SIDs.
Members<platform::LOCALGROUP_MEMBERS_INFO_2> localGroupMembers(
    std::string_view server, std::string_view group,
    platform::DWORD pageBytes = platform::MAX_PREFERRED_LENGTH);

}  // namespace groups
