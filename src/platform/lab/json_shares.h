#pragma once
// Shares in the lab's JSON form.

#include <string>
#include <vector>

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

template <class J>
Share readShare(const J& j, const std::string& path);
Json writeShare(const Share& share);
// A machine's shares, each name once.
template <class J>
std::vector<Share> readShares(const J& a, const std::string& path);
Json writeShares(const std::vector<Share>& shares);

}  // namespace lab::json
