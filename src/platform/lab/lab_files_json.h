#pragma once
// The volumes and file trees of a lab machine in the lab file's JSON form.
// Readers throw json::Fault naming the JSON place and the problem.

#include <string>
#include <vector>

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

// Accounts are kept as written; resolveVolumeAccounts gives them their SIDs
// once every account database of the lab has been read.
std::vector<Volume> readVolumes(const Json& j, const std::string& path);
void resolveVolumeAccounts(const Network& net, Machine& machine, const std::string& path);
Json writeVolumes(const std::vector<Volume>& volumes);

}  // namespace lab::json
