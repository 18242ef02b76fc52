#pragma once
// The record a copy of an account is created from, and its paths renamed.
// Plain C++ over the platform's structures alone.

#include <string>
#include <string_view>

#include "platform/netapi.h"

namespace users {

// What the copy prompt asks for beyond the source.
struct CopyDetails {
  std::string name;
  std::string fullName;
  // Empty: the copy gets a password nobody knows and starts disabled.
  std::string password;
  std::string confirmation;
  bool mustChange = false;
};

// `path` with every element that is the user name `source` (between
// backslashes or slashes, the whole element, letters A-Z without regard to
// case) replaced by `copy`, and every "%USERNAME%" (without regard to case)
// too, so that a copy's home and profile are its own and a folder that merely
// starts with the name is left alone.
std::string renamedPath(std::string_view path, std::string_view source, std::string_view copy);

// The record a copy is created from: the source's as read, under the new
// name and full name, with home and profile renamed, the box's "must change
// password" and never locked out. Without a password it gets one nobody
// knows and is disabled; with one it is enabled, to be used.
platform::USER_INFO_3 copyRecord(const platform::USER_INFO_3& source, const CopyDetails& details);

}  // namespace users
