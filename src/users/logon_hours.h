#pragma once
// Logon hours: the hours of the week an account may log on in. The server
// keeps them as 21 bytes, bit (day * 24 + hour) counted from Sunday 00:00
// GMT, the lowest bit of each byte first; no bytes at all mean every hour.
// The Hours dialog shows the week in this computer's local time: the
// server's week turned by the zone's offset. Plain C++.

#include <bitset>
#include <cstdint>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#include "platform/types.h"

namespace users {

inline constexpr int kHoursPerWeek = 168;
inline constexpr std::size_t kLogonHoursBytes = kHoursPerWeek / 8;

// Bit i set: hour i of the week is allowed.
using WeekHours = std::bitset<kHoursPerWeek>;

inline WeekHours everyHour() { return WeekHours().set(); }

// The account's hours in the server's form; nothing when they are not kept
// one bit per hour (another unit per week, or another length), which the
// dialog cannot show and so leaves as they are.
std::optional<WeekHours> hoursOf(const std::vector<std::uint8_t>& bitmap,
                                 platform::DWORD unitsPerWeek);

// The 21 bytes to write. Every hour allowed is 21 bytes of ones, never no
// bytes: a set without them leaves the account's hours as they were.
std::vector<std::uint8_t> bitmapOf(const WeekHours& hours);

// The whole hours the week is turned by to show it at `offsetSeconds` east
// of GMT. A zone with a part hour (GMT+05:30, GMT-03:30) is turned by the
// whole hour below its offset, so each hour shown starts that part later by
// the local clock; the turn is whole hours either way, so nothing is lost
// on the way back.
int shiftHours(long offsetSeconds);
// The minutes past the whole-hour turn, 0 to 59.
int shiftRemainderMinutes(long offsetSeconds);

// The server's week as the local week, turned by `shift` hours, and back.
WeekHours toLocal(const WeekHours& gmt, int shift);
WeekHours toGmt(const WeekHours& local, int shift);

// This computer's offset east of GMT at `at` (now by default), in seconds,
// as its time zone gives it (summer time included).
long localOffsetSeconds(std::time_t at = std::time(nullptr));

// "GMT+01:00", "GMT-03:30", "GMT".
std::string offsetText(long offsetSeconds);

}  // namespace users
