#include "session/files_texts.h"

#include "platform/byte_totals.h"

namespace display {

std::string kilobytesText(std::uint64_t bytes) {
  if (bytes <= 1048575) return std::to_string(bytes >> 10) + " kb";
  const std::string more = platform::isSaturated(bytes) ? "+" : "";
  return std::to_string(bytes >> 20) + "," + std::to_string((bytes >> 10) & 1023) + more + " kb";
}

}  // namespace display
