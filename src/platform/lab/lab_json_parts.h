#pragma once
// What every reader of the lab's JSON shares: the JSON type and the fault
// its readers throw. The readers of the entities themselves are in the
// json_*.h headers, one a kind of entity, used by the lab file's reader and
// by the change journal, which records entities in the same form.

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

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

}  // namespace lab::json
