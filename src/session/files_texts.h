#pragma once
// Cell texts of the Files lists (no Qt).

#include <cstdint>
#include <string>

namespace display {

// A byte total in kilobytes: "%d kb" up to 1,048,575 bytes, above that
// megabytes, a comma and the remaining kilobytes ("5,3 kb"). A total that
// stopped at the largest 64-bit value has "+" before " kb": at least that.
std::string kilobytesText(std::uint64_t bytes);

}  // namespace display
