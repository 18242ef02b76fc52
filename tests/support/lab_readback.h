#pragma once
// Test support: what the platform API reads back after a change made
// through the window or the import: an account, a group's members and
// comment.
//
//   EXPECT_EQ(globalMemberSet("Staff"), (std::set<std::string>{"alice", "bob"}));
//   EXPECT_EQ(localMembers("Lab Users"), (std::vector<std::string>{"LAB\\plain"}));

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/netapi.h"

namespace test_support {

// The server the test labs' domain is administered on.
inline constexpr std::string_view kPdc = "\\\\PDC";

// The account at level 3; none when the server does not have it.
inline std::optional<platform::USER_INFO_3> account(std::string_view name,
                                                    std::string_view server = kPdc) {
  platform::NetBuffer buffer;
  if (platform::NetUserGetInfo(server, name, 3, buffer) != platform::NERR_Success) return {};
  const auto* user = buffer.one<platform::USER_INFO_3>();
  return user ? std::optional(*user) : std::nullopt;
}

// A global group's member names in the order the server gives them. A
// group that cannot be read fails the test and has none: a check for "no
// members" must not pass because the group is gone.
inline std::vector<std::string> globalMembers(std::string_view group,
                                              std::string_view server = kPdc) {
  platform::NetBuffer buffer;
  platform::DWORD read = 0, total = 0, resume = 0;
  std::vector<std::string> names;
  const auto status = platform::NetGroupGetUsers(server, group, 0, buffer,
                                                 platform::MAX_PREFERRED_LENGTH, &read, &total,
                                                 &resume);
  EXPECT_EQ(status, platform::NERR_Success) << "members of " << group;
  if (status != platform::NERR_Success) return names;
  for (const auto& m : buffer.get<platform::GROUP_USERS_INFO_0>()) names.push_back(m.grui0_name);
  return names;
}

// A local group's members as "DOMAIN\name", in the order the server gives
// them; a group that cannot be read fails the test and has none.
inline std::vector<std::string> localMembers(std::string_view group,
                                             std::string_view server = kPdc) {
  platform::NetBuffer buffer;
  platform::DWORD read = 0, total = 0, resume = 0;
  std::vector<std::string> names;
  const auto status = platform::NetLocalGroupGetMembers(server, group, 3, buffer,
                                                        platform::MAX_PREFERRED_LENGTH, &read,
                                                        &total, &resume);
  EXPECT_EQ(status, platform::NERR_Success) << "members of " << group;
  if (status != platform::NERR_Success) return names;
  for (const auto& m : buffer.get<platform::LOCALGROUP_MEMBERS_INFO_3>())
    names.push_back(m.lgrmi3_domainandname);
  return names;
}

// A group's comment; "<none>" when the server has no such group.
inline std::string globalComment(std::string_view group, std::string_view server = kPdc) {
  platform::NetBuffer buffer;
  if (platform::NetGroupGetInfo(server, group, 2, buffer) != platform::NERR_Success)
    return "<none>";
  return buffer.one<platform::GROUP_INFO_2>()->grpi2_comment;
}
inline std::string localComment(std::string_view group, std::string_view server = kPdc) {
  platform::NetBuffer buffer;
  if (platform::NetLocalGroupGetInfo(server, group, 1, buffer) != platform::NERR_Success)
    return "<none>";
  return buffer.one<platform::LOCALGROUP_INFO_1>()->lgrpi1_comment;
}

// The same without their order, for checks that do not care about it.
inline std::set<std::string> globalMemberSet(std::string_view group,
                                             std::string_view server = kPdc) {
  const auto names = globalMembers(group, server);
  return {names.begin(), names.end()};
}
inline std::set<std::string> localMemberSet(std::string_view group,
                                            std::string_view server = kPdc) {
  const auto names = localMembers(group, server);
  return {names.begin(), names.end()};
}

}  // namespace test_support
