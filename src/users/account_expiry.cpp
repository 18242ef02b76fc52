#include "users/account_expiry.h"

#include <ctime>

namespace users {

using platform::DWORD;

namespace {

std::tm localOf(DWORD seconds) {
  const auto t = static_cast<std::time_t>(seconds);
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

}  // namespace

DWORD endOfDay(CivilDate date) {
  std::tm next{};
  next.tm_year = date.year - 1900;
  next.tm_mon = date.month - 1;
  next.tm_mday = date.day + 1;  // mktime carries it into the next month or year
  next.tm_isdst = -1;           // whichever the zone has at that midnight
  const std::time_t at = std::mktime(&next);
  if (at <= 0) return 0;
  if (at >= static_cast<std::time_t>(platform::TIMEQ_FOREVER)) return platform::TIMEQ_FOREVER - 1;
  return static_cast<DWORD>(at);
}

CivilDate lastDayOf(DWORD expires) {
  // A midnight ends the day before it; any other moment ends its own day.
  const std::tm local = localOf(atEndOfDay(expires) && expires > 0 ? expires - 1 : expires);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

bool atEndOfDay(DWORD expires) {
  const std::tm local = localOf(expires);
  return local.tm_hour == 0 && local.tm_min == 0 && local.tm_sec == 0;
}

}  // namespace users
