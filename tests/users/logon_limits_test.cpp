// Logon hours turned between the server's GMT week and the local one, in
// zones of whole and part hours, and the end of a day as an account expiry
// through a change to summer time and a year's end.

#include <gtest/gtest.h>

#include "../support/zone_guard.h"
#include "users/account_expiry.h"
#include "users/logon_hours.h"

namespace {

using test_support::ZoneGuard;
using namespace users;

std::size_t at(int day, int hour) { return static_cast<std::size_t>(day * 24 + hour); }

TEST(LogonHours, TheServersWeekTurnsByTheZoneAndComesBackWhole) {
  // The server's form: bit day * 24 + hour from Sunday 00:00 GMT, lowest bit first.
  std::vector<std::uint8_t> bitmap(21, 0);
  bitmap[1] = 0x01;  // bit 8: Sunday 08:00
  bitmap[4] = 0x80;  // bit 39: Monday 15:00
  const auto read = hoursOf(bitmap, 168);
  ASSERT_TRUE(read);
  EXPECT_EQ(read->count(), 2u);
  EXPECT_TRUE((*read)[at(0, 8)]);
  EXPECT_TRUE((*read)[at(1, 15)]);
  EXPECT_EQ(bitmapOf(*read), bitmap);
  EXPECT_TRUE(hoursOf({}, 168)->all()) << "no bytes: every hour";
  EXPECT_EQ(bitmapOf(everyHour()), std::vector<std::uint8_t>(21, 0xFF))
      << "every hour is written as ones: no bytes would leave the hours as they were";
  EXPECT_FALSE(hoursOf(bitmap, 10080)) << "not one bit per hour";
  EXPECT_FALSE(hoursOf(std::vector<std::uint8_t>(20, 0xFF), 168));

  // Monday to Friday, 09:00 to 16:59 local, as the dialog shows them.
  WeekHours office;
  for (int day = 1; day <= 5; ++day)
    for (int hour = 9; hour < 17; ++hour) office.set(at(day, hour));
  struct Zone {
    const char* tz;
    int shift;
    int minutes;
  };
  for (const Zone zone : {Zone{"UTC0", 0, 0}, Zone{"CET-1", 1, 0}, Zone{"EST5", -5, 0},
                          Zone{"IST-5:30", 5, 30}, Zone{"NST3:30", -4, 30},
                          Zone{"NPT-5:45", 5, 45}, Zone{"LINT-14", 14, 0},
                          Zone{"BIT12", -12, 0}}) {
    ZoneGuard guard(zone.tz);
    const long offset = localOffsetSeconds();
    EXPECT_EQ(shiftHours(offset), zone.shift) << zone.tz;
    EXPECT_EQ(shiftRemainderMinutes(offset), zone.minutes) << zone.tz;
    const WeekHours gmt = toGmt(office, shiftHours(offset));
    EXPECT_EQ(gmt.count(), office.count()) << zone.tz;
    // Local 09:00 is GMT 09:00 less the whole-hour turn.
    EXPECT_TRUE(gmt[at(1, 9 - zone.shift)]) << zone.tz;
    const auto kept = hoursOf(bitmapOf(gmt), 168);
    ASSERT_TRUE(kept);
    EXPECT_EQ(toLocal(*kept, shiftHours(offset)), office) << zone.tz;
  }

  // The turn wraps round the week: Sunday 00:00 at GMT+02:00 is Saturday
  // 22:00 GMT, the second highest bit of the last byte.
  WeekHours sundayMidnight;
  sundayMidnight.set(at(0, 0));
  EXPECT_EQ(bitmapOf(toGmt(sundayMidnight, 2))[20], 0x40);
  // Written in one zone, shown in another: 09:00 Monday at GMT+05:30 (GMT
  // 04:00 by the turn) is Sunday 23:00 at GMT-05:00.
  WeekHours nine;
  nine.set(at(1, 9));
  const WeekHours seen = toLocal(toGmt(nine, 5), -5);
  EXPECT_EQ(seen.count(), 1u);
  EXPECT_TRUE(seen[at(0, 23)]);
  EXPECT_EQ(offsetText(-12600), "GMT-03:30");
}

TEST(AccountExpiry, EndOfADayIsTheNextLocalMidnightThroughSummerTime) {
  ZoneGuard zone("EST5EDT,M3.2.0,M11.1.0");
  // Summer time starts at 02:00 on 8 March 2026: the midnight before is
  // GMT-05:00, the one after GMT-04:00.
  EXPECT_EQ(endOfDay({2026, 3, 7}), 1772946000u);
  EXPECT_EQ(endOfDay({2026, 3, 8}), 1773028800u);
  EXPECT_EQ(lastDayOf(1772946000u), (CivilDate{2026, 3, 7}));
  EXPECT_EQ(lastDayOf(1773028800u), (CivilDate{2026, 3, 8}));
  EXPECT_TRUE(atEndOfDay(1773028800u));
  // A moment that is no midnight ends the day it falls in.
  EXPECT_FALSE(atEndOfDay(1773028800u + 15 * 3600));
  EXPECT_EQ(lastDayOf(1773028800u + 15 * 3600), (CivilDate{2026, 3, 9}));

  zone.set("CET-1");
  EXPECT_EQ(endOfDay({2026, 12, 31}), 1798758000u) << "into the next year";
  EXPECT_EQ(lastDayOf(1798758000u), (CivilDate{2026, 12, 31}));

  // The offered days fit the server's time in the zones furthest apart.
  for (const char* tz : {"LINT-14", "BIT12"}) {
    zone.set(tz);
    EXPECT_GT(endOfDay(kFirstExpiryDay), 0u) << tz;
    EXPECT_LT(endOfDay(kLastExpiryDay), platform::TIMEQ_FOREVER) << tz;
    EXPECT_EQ(lastDayOf(endOfDay(kLastExpiryDay)), kLastExpiryDay) << tz;
  }
}

}  // namespace
