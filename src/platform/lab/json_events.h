#pragma once
// Event log records in the lab's JSON form.

#include <string>

#include "platform/eventlog.h"
#include "platform/lab/lab_json_parts.h"

namespace lab::json {

template <class J>
platform::EventRecord readEvent(const J& j, const std::string& path);
Json writeEvent(const platform::EventRecord& record);

}  // namespace lab::json
