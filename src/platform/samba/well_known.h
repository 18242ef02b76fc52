#pragma once
// The well-known accounts that are not in a domain's directory (they
// appear there only as foreign security principals named by SID).

#include <string_view>

#include "platform/types.h"

namespace platform::samba {

struct WellKnownAccount {
  std::string_view sid;
  std::string_view domain;
  std::string_view name;
  SID_NAME_USE use;
};

const WellKnownAccount* wellKnownBySid(std::string_view sid);
// By "name" or "DOMAIN\name", case-insensitively.
const WellKnownAccount* wellKnownByName(std::string_view domain, std::string_view name);

}  // namespace platform::samba
