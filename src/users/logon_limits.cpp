#include "users/logon_limits.h"

#include <optional>

#include "users/workstation_list.h"

namespace users {

using namespace platform;

namespace {

// The list as the dialog would write it, so that blanks and an empty name
// between commas make no difference between two accounts.
std::string sameList(const std::string& text) {
  std::string list;
  for (const std::string& name : workstationNames(text)) {
    if (!list.empty()) list += ',';
    list += name;
  }
  return list;
}

template <typename T>
void combine(Shared<T>& shared, const std::optional<T>& value, bool first, T fallback) {
  if (shared.mixed) return;
  if (first && value) {
    shared.value = *value;
  } else if (!value || (!first && *value != shared.value)) {
    shared.value = std::move(fallback);
    shared.mixed = true;
  }
}

}  // namespace

LogonLimits limitsOf(const USER_INFO_3& record) {
  LogonLimits limits;
  const std::optional<WeekHours> hours =
      hoursOf(record.usri3_logon_hours, record.usri3_units_per_week);
  limits.hoursShown = hours.has_value();
  if (hours) limits.hours.value = *hours;
  limits.workstations.value = record.usri3_workstations;
  limits.expires.value = record.usri3_acct_expires;
  return limits;
}

void addToCombined(LogonLimits& combined, const USER_INFO_3& record, bool first) {
  combine(combined.hours, hoursOf(record.usri3_logon_hours, record.usri3_units_per_week), first,
          everyHour());
  combine(combined.workstations, std::optional(sameList(record.usri3_workstations)), first,
          std::string());
  combine(combined.expires, std::optional(record.usri3_acct_expires), first, TIMEQ_FOREVER);
}

void applyLimits(const LogonLimits& limits, USER_INFO_3& record) {
  if (limits.hours.changed) {
    record.usri3_units_per_week = kHoursPerWeek;
    record.usri3_logon_hours = bitmapOf(limits.hours.value);
  }
  if (limits.workstations.changed) record.usri3_workstations = limits.workstations.value;
  if (limits.expires.changed) record.usri3_acct_expires = limits.expires.value;
}

}  // namespace users
