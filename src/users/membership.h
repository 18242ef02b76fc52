#pragma once
// Membership entries of the user dialog's two lists ("(G) Staff",
// "(L) Administrators", "(I) Print Operators"), the pending changes the move
// buttons record, and the group lists the dialog is filled from. Plain C++.

#include <string>
#include <string_view>
#include <vector>

#include "users/user_fields.h"

namespace users {

inline constexpr std::string_view kGlobalPrefix = "(G)";
inline constexpr std::string_view kLocalPrefix = "(L)";
inline constexpr std::string_view kIndirectPrefix = "(I)";

std::string entryOf(std::string_view prefix, std::string_view group);
// The group name: the text after the first blank.
std::string groupOf(std::string_view entry);
bool isIndirect(std::string_view entry);
bool isLocal(std::string_view entry);

// An entry moved out of "Member of": cancels an equal pending addition, or
// becomes a pending removal.
void recordRemoval(UserFields& fields, const std::string& entry);
// An entry moved into "Member of": the mirror image.
void recordAddition(UserFields& fields, const std::string& entry);

// Every global and every local group of the server, read to the end.
std::vector<std::string> globalGroupNames(std::string_view server);
std::vector<std::string> localGroupNames(std::string_view server);
// A global group's account names; a local group's members as "DOMAIN\name".
std::vector<std::string> globalGroupMemberNames(std::string_view server, std::string_view group);
std::vector<std::string> localGroupMemberNames(std::string_view server, std::string_view group);
// The account's global groups; its local groups, direct only or with those
// it is in through a global group.
std::vector<std::string> userGlobalGroups(std::string_view server, std::string_view account);
std::vector<std::string> userLocalGroups(std::string_view server, std::string_view account,
                                         bool withIndirect);

}  // namespace users
