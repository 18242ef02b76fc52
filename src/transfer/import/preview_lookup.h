#pragma once
// A dry run's view of the server: the server as it is, with what the records
// before would have done to it laid over it, so that a record which relies on
// an earlier one (a member line after its group's header line, a name given
// twice) is judged as the import would find things. Names are matched as the
// server matches them, without regard to the case of A to Z.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>

#include "platform/netapi.h"
#include "transfer/import/account_lookup.h"

namespace transfer {

class PreviewLookup final : public AccountLookup {
 public:
  explicit PreviewLookup(std::string server) : m_server(std::move(server)), m_lookup(m_server) {}

  Lookup<platform::USER_INFO_3> user(std::string_view name) override;
  Lookup<platform::GROUP_INFO_2> globalGroup(std::string_view name) override;
  Lookup<platform::LOCALGROUP_INFO_1> localGroup(std::string_view name) override;

  // The first status since the last call that said neither "found" nor
  // "not found": the look-up itself failed, and so would the record.
  std::optional<platform::DWORD> takeLookupFailure();

  // What a record would leave behind, seen by the records after it.
  void rememberUser(const platform::USER_INFO_3& account);
  // `added`: the record makes the group; else it rewrites it.
  void rememberGroup(const platform::GROUP_INFO_2& group, bool added);
  void rememberGroup(const platform::LOCALGROUP_INFO_1& group, bool added);
  void rememberMember(std::string_view group, std::string_view member);
  void rememberHome(std::string_view path);

  // Whether `user` is a member of global group `group`.
  bool inGlobalGroup(std::string_view group, std::string_view user);
  // Whether the account `member` (its name as sent, and its SID when it has
  // one yet) is a member of local group `group`.
  bool inLocalGroup(std::string_view group, std::string_view member, const platform::SID& sid);
  // Whether an earlier record would have made the global group `name`.
  bool addedGlobalGroup(std::string_view name) const;
  // Whether an earlier record would have made the home directory `path`.
  bool madeHome(std::string_view path) const;

 private:
  template <class Info>
  Lookup<Info> checked(Lookup<Info> answer, platform::DWORD notFound, platform::DWORD alsoNotFound);

  std::string m_server;
  ServerLookup m_lookup;
  std::optional<platform::DWORD> m_failure;
  std::map<std::string, platform::USER_INFO_3> m_users;
  std::map<std::string, platform::GROUP_INFO_2> m_globals;
  std::map<std::string, platform::LOCALGROUP_INFO_1> m_locals;
  std::set<std::string> m_added;  // groups an earlier record makes
  std::set<std::pair<std::string, std::string>> m_members;
  std::set<std::string> m_homes;
  // The server's members of the groups asked about, read once per group.
  std::map<std::string, std::set<std::string>> m_globalMembers;
  std::map<std::string, std::set<std::string>> m_localMembers;  // SIDs
};

}  // namespace transfer
