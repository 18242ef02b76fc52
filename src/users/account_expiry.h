#pragma once
// Account expiry: the moment from which an account can no longer log on, in
// seconds since 1970, or TIMEQ_FOREVER for never. The Account dialog offers
// "the end of" a day: the account expires at the start of the next day,
// local time. Plain C++.

#include <compare>
#include <string>

#include "platform/types.h"

namespace users {

struct CivilDate {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  auto operator<=>(const CivilDate&) const = default;
};

// The days an account can be made to expire at the end of: from the first
// day whose end is after 1970 in every zone to the last whose end is before
// the server's time runs out (in 2106).
inline constexpr CivilDate kFirstExpiryDay{1970, 1, 2};
inline constexpr CivilDate kLastExpiryDay{2106, 2, 5};

// The start of the day after `date`, local time.
platform::DWORD endOfDay(CivilDate date);
// The local day an expiry ends: the day before a local midnight, else the
// day the moment falls in.
CivilDate lastDayOf(platform::DWORD expires);
// Whether `expires` is a local midnight, as "the end of" a day writes it.
bool atEndOfDay(platform::DWORD expires);

}  // namespace users
