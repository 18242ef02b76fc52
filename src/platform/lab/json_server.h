#pragma once
// A machine's server side in the lab's JSON form: its settings, the sessions
// clients hold with it and the files they have open.

#include <string>

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/model.h"

namespace lab::json {

template <class J>
ServerSettings readServerSettings(const J& j, const std::string& path);
Json writeServerSettings(const ServerSettings& settings);

template <class J>
Session readSession(const J& j, const std::string& path);
Json writeSession(const Session& session);
// Files without an id get the next free one; ids are unique per machine.
// `path` is the machine's place.
void numberOpenFiles(Machine& machine, const std::string& path);

}  // namespace lab::json
