#pragma once
// Accounts and groups: users, global and local groups, display information
// and the account policy of a machine's or a domain's account database.

#include <span>
#include <string>
#include <string_view>

#include "platform/netapi.h"
#include "platform/parts/part_operation.h"

namespace platform {

class AccountsPart {
 public:
  virtual ~AccountsPart() = default;

#define VELTRANE_ACCOUNTS VELTRANE_PART_VIRTUAL
#include "platform/parts/operations.def"
};

}  // namespace platform
