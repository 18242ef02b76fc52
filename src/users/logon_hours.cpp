#include "users/logon_hours.h"

#include <cstdio>
#include <cstdlib>

namespace users {

std::optional<WeekHours> hoursOf(const std::vector<std::uint8_t>& bitmap,
                                 platform::DWORD unitsPerWeek) {
  if (bitmap.empty()) return everyHour();
  if (unitsPerWeek != kHoursPerWeek || bitmap.size() != kLogonHoursBytes) return std::nullopt;
  WeekHours hours;
  for (int bit = 0; bit < kHoursPerWeek; ++bit)
    hours[static_cast<std::size_t>(bit)] = (bitmap[static_cast<std::size_t>(bit / 8)] >> (bit % 8)) & 1;
  return hours;
}

std::vector<std::uint8_t> bitmapOf(const WeekHours& hours) {
  std::vector<std::uint8_t> bitmap(kLogonHoursBytes, 0);
  for (int bit = 0; bit < kHoursPerWeek; ++bit)
    if (hours[static_cast<std::size_t>(bit)])
      bitmap[static_cast<std::size_t>(bit / 8)] |= static_cast<std::uint8_t>(1u << (bit % 8));
  return bitmap;
}

int shiftHours(long offsetSeconds) {
  // Rounded down, for offsets west of GMT too.
  long hours = offsetSeconds / 3600;
  if (offsetSeconds % 3600 < 0) --hours;
  return static_cast<int>(hours);
}

int shiftRemainderMinutes(long offsetSeconds) {
  return static_cast<int>((offsetSeconds - shiftHours(offsetSeconds) * 3600L) / 60);
}

WeekHours toLocal(const WeekHours& gmt, int shift) {
  // Local hour L is GMT hour L - shift: a rotation of the whole week.
  const auto by = static_cast<std::size_t>(((shift % kHoursPerWeek) + kHoursPerWeek) % kHoursPerWeek);
  if (by == 0) return gmt;
  return (gmt << by) | (gmt >> (kHoursPerWeek - by));
}

WeekHours toGmt(const WeekHours& local, int shift) { return toLocal(local, -shift); }

long localOffsetSeconds(std::time_t at) {
  std::tm local{};
  if (!localtime_r(&at, &local)) return 0;
  return local.tm_gmtoff;
}

std::string offsetText(long offsetSeconds) {
  if (offsetSeconds == 0) return "GMT";
  const long minutes = std::labs(offsetSeconds) / 60;
  char text[48];
  std::snprintf(text, sizeof text, "GMT%c%02ld:%02ld", offsetSeconds < 0 ? '-' : '+',
                minutes / 60, minutes % 60);
  return text;
}

}  // namespace users
