#include "platform/lab/json_events.h"

#include "platform/lab/json_fields.h"

namespace lab::json {

using namespace platform;

template <class J>
EventRecord readEvent(const J& j, const std::string& where) {
  expectObject(j, where, {"time", "source", "type", "category", "id", "strings"});
  EventRecord e;
  e.timeWritten = time(j, "time", where);
  e.source = text(j, "source", where, true);
  e.type = static_cast<WORD>(number(j, "type", where, EVENTLOG_INFORMATION_TYPE));
  e.category = static_cast<WORD>(number(j, "category", where, 0));
  e.eventId = number(j, "id", where, 0, true);
  e.strings = texts(j, "strings", where);
  return e;
}

Json writeEvent(const EventRecord& e) {
  return Json{{"time", e.timeWritten}, {"source", e.source}, {"type", e.type},
              {"category", e.category}, {"id", e.eventId}, {"strings", e.strings}};
}

template EventRecord readEvent(const Json&, const std::string&);
template EventRecord readEvent(const SimdValue&, const std::string&);

}  // namespace lab::json
