#pragma once
// An account database in the lab's JSON form (a domain's or a machine's):
// its SID, policy and deleted accounts, and the reading of its users and
// groups in the order their checks need.

#include <string>
#include <string_view>
#include <vector>

#include "platform/lab/json_groups.h"
#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

// A SID's text ("S-1-5-21-1-2-3").
bool validSid(std::string_view text);

template <class J>
void readPolicy(const J& j, const std::string& path, Policy& policy);
Json writePolicy(const Policy& policy);

// The fields a domain and a machine's "accounts" share. Local groups'
// members join `pending`; `domainOfMachine` is the domain a machine's
// database belongs to, or empty for a domain's.
template <class J>
void readSam(const J& j, const std::string& path, Sam& sam, std::vector<PendingMembers>& pending,
             const std::string& domainOfMachine);
// Adds the database's fields to `j` (a domain's own fields, or none).
Json writeSam(const Network& net, const Sam& sam, Json j);

const char* accountKindName(AccountKind kind);
Json writeDeletedAccount(const DeletedAccount& account);
// A deleted account as the journal records it: every field given.
DeletedAccount readDeletedRecord(const Json& j, const std::string& path);

}  // namespace lab::json
