#pragma once
// What the global-group picker lists: the domains and workgroups of the
// network, and a domain's global groups as its controller lists them for
// display. Each read goes on to the end (batches, next indexes) so that a
// large network or domain loses nothing. Plain C++.

#include <string>
#include <string_view>
#include <vector>

#include "platform/netapi.h"

namespace groups {

// The remote name of every entry below each provider of the network's root
// (providers whose enumeration cannot be opened add nothing).
std::vector<std::string> networkDomainNames();

struct GroupNames {
  std::vector<std::string> names;
  platform::NET_API_STATUS status = platform::NERR_Success;  // a failure leaves names empty
};
// The global groups `server` lists at display level 3.
GroupNames displayGroupNames(std::string_view server);

// The domain of the machine the program runs on; "" with *status set when
// it cannot be read.
std::string localDomain(platform::NET_API_STATUS* status);

}  // namespace groups
