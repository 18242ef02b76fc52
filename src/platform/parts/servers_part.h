#pragma once
// Servers, workstations and domain controllers: the browse list, server and
// workstation information, finding a domain's controller, a server's
// settings, its sessions and open files, its shares, and its domain's
// trust relationships.

#include <string>
#include <string_view>
#include <vector>

#include "platform/dsgetdc.h"
#include "platform/netapi.h"
#include "platform/parts/part_operation.h"

namespace platform {

class ServersPart {
 public:
  virtual ~ServersPart() = default;

#define VELTRANE_SERVERS VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
