#pragma once
// Global and local groups in the lab's JSON form. A group's members are
// written by name; a local group's members may stand in any database of the
// lab, so they are resolved once every database has been read.

#include <string>
#include <vector>

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

// A global group without its members, which `memberNames` receives.
template <class J>
Group readGroup(const J& j, const std::string& path, std::vector<std::string>& memberNames);
// Gives each group of `sam` the users `memberNames` (one list a group, in
// order) names; `path` is the place of the database's "groups".
void linkGroupMembers(Sam& sam, const std::vector<std::vector<std::string>>& memberNames,
                      const std::string& path);
Json writeGroups(const Sam& sam);

// A local group without its members (readMemberNames reads them).
template <class J>
LocalGroup readLocalGroup(const J& j, const std::string& path);
template <class J>
std::vector<std::string> readMemberNames(const J& group, const std::string& path);
Json writeLocalGroups(const Network& net, const Sam& sam);

// A local group's members as written, until every database is read.
struct PendingMembers {
  Sam* sam;
  std::size_t localGroup;
  std::vector<std::string> members;
  std::string path;
  std::string domainOfMachine;  // the domain a machine's database belongs to, or empty
};
// Turns each member written as "DOMAIN\name", "name" or a SID into its SID.
void resolveLocalGroupMembers(Network& net, const std::vector<PendingMembers>& pending);

// The journal records a local group's members as SIDs.
std::vector<platform::SID> readMemberSids(const Json& members, const std::string& path);
Json writeMemberSids(const LocalGroup& group);

}  // namespace lab::json
