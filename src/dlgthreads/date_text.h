#pragma once
// The text forms of times in the browse records. All functions are
// thread-safe (no static buffers) and independent of the C locale.

#include <cstdint>
#include <string>

namespace dlgthreads {

// Seconds between 30 December 1899 00:00 and 1 January 1970 00:00.
inline constexpr std::int64_t kSerialEpochOffset = 2209161600;

// The ctime text of the local time `secondsSince1970` with one blank in
// place of its newline: "Thu Jan  1 00:00:00 1970 " (25 characters for
// four-digit years).
std::string dateText(std::uint32_t secondsSince1970);

// Seconds west of UTC of the local zone at that time (daylight saving
// included), as the serial day number subtracts it.
std::int64_t localOffsetWest(std::int64_t secondsSince1970);

// The serial day number: days since 30 December 1899, with or without the
// local offset. The word is read as a signed 32-bit time, so the all-bits
// "never" value is -1 (25568.999988 without offset).
double serialDay(std::uint32_t secondsSince1970, bool withLocalOffset);
// That number printed like "%f" (six decimals, always a '.').
std::string serialDayText(std::uint32_t secondsSince1970, bool withLocalOffset);

// A date column: the serial day number (local) when `asInteger`, else the
// date text.
std::string dateOrSerial(std::uint32_t secondsSince1970, bool asInteger);

// The account-expiry column: the serial day number without the local offset
// when `asInteger` (a never-expiring account gives 25568.999988); otherwise
// "Never" for TIMEQ_FOREVER and the date text for any other value.
std::string accountExpiryText(std::uint32_t acctExpires, bool asInteger);

}  // namespace dlgthreads
