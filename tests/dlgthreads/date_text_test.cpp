#include "dlgthreads/date_text.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <string>

#include "platform/types.h"
#include "../support/zone_guard.h"

namespace dlgthreads {
namespace {

using test_support::ZoneGuard;

TEST(DateText, CtimeFormEndsInOneBlank) {
  ZoneGuard zone("UTC0");
  EXPECT_EQ(dateText(0), "Thu Jan  1 00:00:00 1970 ");
  EXPECT_EQ(dateText(1000000000), "Sun Sep  9 01:46:40 2001 ");
  EXPECT_EQ(dateText(1000000000).size(), 25u);
}

TEST(DateText, CtimeFormIsLocalTime) {
  ZoneGuard zone("EST5");
  EXPECT_EQ(dateText(0), "Wed Dec 31 19:00:00 1969 ");
}

struct SerialRow {
  const char* zone;
  std::uint32_t time;
  bool withOffset;
  const char* expected;
};

class SerialDay : public ::testing::TestWithParam<SerialRow> {};

TEST_P(SerialDay, PrintsDaysSince1899WithSixDecimals) {
  const SerialRow& row = GetParam();
  ZoneGuard zone(row.zone);
  EXPECT_EQ(serialDayText(row.time, row.withOffset), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SerialDay,
    ::testing::Values(SerialRow{"UTC0", 0, true, "25569.000000"},
                      SerialRow{"UTC0", 86400 + 43200, true, "25570.500000"},
                      // Five hours west: local midnight comes five hours later.
                      SerialRow{"EST5", 0, true, "25568.791667"},
                      SerialRow{"EST5", 0, false, "25569.000000"},
                      // East of UTC the offset adds.
                      SerialRow{"JST-9", 0, true, "25569.375000"},
                      // The all-bits "never" value is one second before 1970.
                      SerialRow{"EST5", platform::TIMEQ_FOREVER, false, "25568.999988"}));

TEST(DateText, AccountExpiry) {
  ZoneGuard zone("EST5");
  EXPECT_EQ(accountExpiryText(platform::TIMEQ_FOREVER, false), "Never");
  EXPECT_EQ(accountExpiryText(platform::TIMEQ_FOREVER, true), "25568.999988");
  // Expiry ignores the zone in integer mode, but not in text mode.
  EXPECT_EQ(accountExpiryText(0, true), "25569.000000");
  EXPECT_EQ(accountExpiryText(0, false), "Wed Dec 31 19:00:00 1969 ");
}

TEST(DateText, DateOrSerialFollowsTheSetting) {
  ZoneGuard zone("UTC0");
  EXPECT_EQ(dateOrSerial(0, true), "25569.000000");
  EXPECT_EQ(dateOrSerial(0, false), "Thu Jan  1 00:00:00 1970 ");
}

}  // namespace
}  // namespace dlgthreads
