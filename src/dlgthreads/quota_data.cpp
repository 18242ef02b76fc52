#include "dlgthreads/quota_data.h"

#include <algorithm>
#include <limits>

namespace dlgthreads {

std::uint32_t quotaNumber(std::string_view text) {
  constexpr std::uint64_t kMax = std::numeric_limits<std::uint32_t>::max();
  std::uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') break;
    value = std::min(kMax, value * 10 + static_cast<std::uint64_t>(c - '0'));
  }
  return static_cast<std::uint32_t>(value);
}

QuotaRecord parseQuotaData(std::string_view directory, std::string_view data) {
  QuotaRecord record;
  record.name = std::string(directory);
  record.usage = quotaNumber(data.substr(0, 5));
  if (data.size() > 5) record.status = std::string(data.substr(5, 2));
  if (data.size() > kQuotaPrefixLength) record.size = quotaNumber(data.substr(kQuotaPrefixLength));
  return record;
}

std::string newQuotaData(std::uint32_t size) {
  return std::string(kNewQuotaPrefix) + std::to_string(size);
}

std::string editedQuotaData(std::string_view current, std::uint32_t size) {
  // Every field the user did not touch is written back as it reads now, in
  // its own width: a usage cut short ("0007") is the number it reads as,
  // written in five digits; padding the cut field from the new-entry form
  // would shift its digits ("00070", 70 %). The text fields after it keep
  // what is there and take the rest from the new-entry form.
  constexpr std::size_t kUsageWidth = 5;
  std::string prefix;
  if (current.size() >= kUsageWidth) {
    prefix = current.substr(0, kUsageWidth);
  } else {
    const std::string usage = std::to_string(quotaNumber(current));
    prefix = std::string(kUsageWidth - std::min(kUsageWidth, usage.size()), '0') + usage;
  }
  if (current.size() > kUsageWidth)
    prefix += current.substr(kUsageWidth, kQuotaPrefixLength - kUsageWidth);
  prefix += kNewQuotaPrefix.substr(prefix.size());
  return prefix + std::to_string(size);
}

std::string quotaStatusText(std::string_view status) {
  if (status == "ok") return "OK";
  if (status == "wr") return "WARNING";
  if (status == "il") return "ILLEGAL";
  if (status == "st") return "STOP";
  return std::string(status);
}

std::string quotaColumnText(const QuotaRecord& record, int column) {
  switch (column) {
    case 0:
      return record.name;
    case 1:
      return std::to_string(record.size);
    case 2:
      return quotaStatusText(record.status);
    case 3:
      return std::to_string(record.usage) + "%";
    case 4:
      return std::to_string(record.usedKb());
    default:
      return {};
  }
}

}  // namespace dlgthreads
