#include "display/files_texts.h"

namespace display {

std::string kilobytesText(std::uint64_t bytes) {
  if (bytes <= 1048575) return std::to_string(bytes >> 10) + " kb";
  return std::to_string(bytes >> 20) + "," + std::to_string((bytes >> 10) & 1023) + " kb";
}

}  // namespace display
