#pragma once
// How the import asks what the server holds of a record's account or group.
// The import asks the server itself; a dry run asks the server as the
// records before would have left it (import_preview.cpp). The decisions of
// record_plan.h take their answers from here, so both decide alike.

#include <optional>
#include <string>
#include <string_view>

#include "platform/netapi.h"

namespace transfer {

// One look-up's answer: the call's status, and the account as read when the
// call answered with it.
template <class Info>
struct Lookup {
  platform::DWORD status = 0;
  std::optional<Info> info;

  bool answered() const { return status == 0; }
};

class AccountLookup {
 public:
  virtual ~AccountLookup() = default;
  // NetUserGetInfo level 3.
  virtual Lookup<platform::USER_INFO_3> user(std::string_view name) = 0;
  // NetGroupGetInfo level 2.
  virtual Lookup<platform::GROUP_INFO_2> globalGroup(std::string_view name) = 0;
  // NetLocalGroupGetInfo level 1.
  virtual Lookup<platform::LOCALGROUP_INFO_1> localGroup(std::string_view name) = 0;
};

// Asks the server, every time: the import must see what its own earlier
// records did.
class ServerLookup final : public AccountLookup {
 public:
  explicit ServerLookup(std::string server) : m_server(std::move(server)) {}

  Lookup<platform::USER_INFO_3> user(std::string_view name) override;
  Lookup<platform::GROUP_INFO_2> globalGroup(std::string_view name) override;
  Lookup<platform::LOCALGROUP_INFO_1> localGroup(std::string_view name) override;

 private:
  std::string m_server;
};

}  // namespace transfer
