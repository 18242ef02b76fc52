#pragma once
// What the lab's network shows to a resource enumeration: the providers at
// the root; below "Microsoft Windows Network" the domains and workgroups;
// below each its servers (its master browser's list); below a server its
// disk and print shares that are not hidden.

#include <vector>

#include "platform/lab/model.h"
#include "platform/wnet.h"

namespace lab {

// The children of `container` (null: the root) in `scope`, of the resource
// type and usage asked for (0 = any). 0, or 1207 for a resource that is no
// container, 53 for a domain or server the network cannot reach, 87 for an
// unknown scope, or the lab's refusal of "WNetOpenEnum" on the local machine
// (the whole network) or on the server opened.
DWORD networkChildren(const Network& net, DWORD scope, DWORD type, DWORD usage,
                      const platform::NETRESOURCE* container,
                      std::vector<platform::NETRESOURCE>* children);

}  // namespace lab
