#include "dlgthreads/date_text.h"

#include <charconv>
#include <cstdio>
#include <ctime>

#include "platform/types.h"
#include "resources/strings.h"

namespace dlgthreads {
namespace {

constexpr const char* kWeekdays[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
constexpr const char* kMonths[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
constexpr double kSecondsPerDay = 86400.0;

bool localTime(std::int64_t seconds, std::tm* out) {
  const std::time_t t = static_cast<std::time_t>(seconds);
  return localtime_r(&t, out) != nullptr;
}

}  // namespace

std::string dateText(std::uint32_t secondsSince1970) {
  std::tm tm{};
  if (!localTime(secondsSince1970, &tm)) return {};
  const int wday = (tm.tm_wday >= 0 && tm.tm_wday < 7) ? tm.tm_wday : 0;
  const int mon = (tm.tm_mon >= 0 && tm.tm_mon < 12) ? tm.tm_mon : 0;
  // The ctime layout, with the trailing newline replaced by a blank.
  char buf[64];
  const int n = std::snprintf(buf, sizeof buf, "%.3s %.3s%3d %.2d:%.2d:%.2d %d ", kWeekdays[wday],
                              kMonths[mon], tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec,
                              tm.tm_year + 1900);
  return n > 0 ? std::string(buf, static_cast<std::size_t>(n)) : std::string();
}

std::int64_t localOffsetWest(std::int64_t secondsSince1970) {
  std::tm tm{};
  if (!localTime(secondsSince1970, &tm)) return 0;
  return -static_cast<std::int64_t>(tm.tm_gmtoff);
}

double serialDay(std::uint32_t secondsSince1970, bool withLocalOffset) {
  // The time word is a signed 32-bit time here, as the day number has
  // always been computed (so "never", all bits set, is one second before 1970).
  const std::int64_t t = static_cast<std::int32_t>(secondsSince1970);
  const std::int64_t offset = withLocalOffset ? localOffsetWest(t) : 0;
  return static_cast<double>(t + kSerialEpochOffset - offset) / kSecondsPerDay;
}

std::string serialDayText(std::uint32_t secondsSince1970, bool withLocalOffset) {
  char buf[64];
  const double day = serialDay(secondsSince1970, withLocalOffset);
  // to_chars, unlike printf, never uses the locale's decimal comma.
  auto [end, ec] = std::to_chars(buf, buf + sizeof buf, day, std::chars_format::fixed, 6);
  if (ec != std::errc()) return {};
  return std::string(buf, end);
}

std::string dateOrSerial(std::uint32_t secondsSince1970, bool asInteger) {
  return asInteger ? serialDayText(secondsSince1970, true) : dateText(secondsSince1970);
}

std::string accountExpiryText(std::uint32_t acctExpires, bool asInteger) {
  if (asInteger) return serialDayText(acctExpires, false);
  if (acctExpires == platform::TIMEQ_FOREVER) return res::str(res::kStrNever);
  return dateText(acctExpires);
}

}  // namespace dlgthreads
