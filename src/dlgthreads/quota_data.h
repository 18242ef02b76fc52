#pragma once
// The quota service's entries: one text value per watched directory under
// the service's Directories key on each server. The service rewrites the
// first 13 characters (usage, status, its own six) at any time; the program
// only creates entries and changes the size that follows them. Plain C++.

#include <cstdint>
#include <string>
#include <string_view>

#include "dlgthreads/records.h"

namespace dlgthreads {

inline constexpr std::string_view kQuotaDirectoriesKey =
    "Software\\Brisle Software\\Hollisk\\Directories";
// What a new entry starts with, and what pads a prefix the service left short.
inline constexpr std::string_view kNewQuotaPrefix = "00000ok123456";
inline constexpr std::size_t kQuotaPrefixLength = 13;
// RegEnumValue's name and data buffers.
inline constexpr std::uint32_t kQuotaNameChars = 600;
inline constexpr std::size_t kQuotaDataBytes = 600;
inline constexpr std::uint32_t kQuotaMinSize = 1;
inline constexpr std::uint32_t kQuotaMaxSize = 9000000;

// One line of the Quotas display.
struct QuotaRecord {
  Word tag = 0;             // the display's own mark
  std::string name;         // the directory (the value's name)
  std::uint32_t usage = 0;  // percentage, characters 1-5
  std::string status;       // characters 6-7, as far as the data goes
  std::uint32_t size = 0;   // kB, characters 14 on

  // Usage × size / 100 in kB; 64 bits, as a large quota near 100% overflows 32.
  std::uint64_t usedKb() const { return std::uint64_t{usage} * size / 100; }
};

// Reads an entry's data. A value shorter than its fixed prefix gives what
// it holds and nothing past it: no status beyond its end, size 0.
QuotaRecord parseQuotaData(std::string_view directory, std::string_view data);
// The leading decimal digits of `text` as an unsigned number (saturating).
std::uint32_t quotaNumber(std::string_view text);
// The data of a new entry of `size` kB.
std::string newQuotaData(std::uint32_t size);
// The data after an edit: the entry's first 13 characters as they are now
// (padded from the new-entry form when the service left them short), then
// the new size.
std::string editedQuotaData(std::string_view current, std::uint32_t size);

// The column texts of the Quotas list.
std::string quotaStatusText(std::string_view status);
std::string quotaColumnText(const QuotaRecord& record, int column);
inline constexpr int kQuotaColumns = 5;

}  // namespace dlgthreads
