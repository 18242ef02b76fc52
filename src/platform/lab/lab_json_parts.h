#pragma once
// Single entities in the lab file's JSON form, for the change journal, which
// records entities one at a time in the same form as the lab file. The
// readers throw Fault, naming the JSON place and the problem.

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "platform/lab/model.h"
#include "platform/message_text.h"

namespace lab::json {

using Json = nlohmann::ordered_json;

struct Fault {
  std::string where;
  std::string what;
};

// A fault as thrown: the place (a path built from the file's own keys) and
// the problem may echo the file's text, so both are escaped and bounded
// whatever they hold. Quoted names within `what` are cut shorter still, by
// platform::quotedText where the message is made.
inline Fault boundedFault(std::string_view where, std::string_view what) {
  return Fault{where.empty() ? std::string("/") : platform::messageText(where, platform::kWholeMessageChars),
               platform::messageText(what, platform::kWholeMessageChars)};
}

Json writeUser(const User& user);
User readUser(const Json& j, const std::string& path);
Json writePolicy(const Policy& policy);
void readPolicy(const Json& j, const std::string& path, Policy& policy);
Json writeValue(const RegValue& value);
RegValue readValue(const Json& j, const std::string& path);
Json writeEvent(const platform::EventRecord& record);
platform::EventRecord readEvent(const Json& j, const std::string& path);
bool validAccountName(std::string_view name);
// A SID's text ("S-1-5-21-1-2-3").
bool validSid(std::string_view text);
// A hive a machine's registry may hold keys in.
bool knownHive(std::string_view name);
// Throws a Fault unless the lab's local machine and logged-on account exist.
void checkSession(const Network& net);
Json writeShare(const Share& share);
Share readShare(const Json& j, const std::string& path);
Json writeServerSettings(const ServerSettings& settings);
ServerSettings readServerSettings(const Json& j, const std::string& path);

}  // namespace lab::json
