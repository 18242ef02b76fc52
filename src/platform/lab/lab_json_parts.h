#pragma once
// Single entities in the lab file's JSON form, for the change journal, which
// records entities one at a time in the same form as the lab file. The
// readers throw Fault, naming the JSON place and the problem.

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/lab/model.h"

namespace lab::json {

using Json = nlohmann::ordered_json;

struct Fault {
  std::string where;
  std::string what;
};

Json writeUser(const User& user);
User readUser(const Json& j, const std::string& path);
Json writePolicy(const Policy& policy);
void readPolicy(const Json& j, const std::string& path, Policy& policy);
Json writeValue(const RegValue& value);
RegValue readValue(const Json& j, const std::string& path);
Json writeEvent(const platform::EventRecord& record);
platform::EventRecord readEvent(const Json& j, const std::string& path);
bool validAccountName(std::string_view name);
Json writeShare(const Share& share);
Share readShare(const Json& j, const std::string& path);
Json writeServerSettings(const ServerSettings& settings);
ServerSettings readServerSettings(const Json& j, const std::string& path);

}  // namespace lab::json
