#pragma once
// Totals of file sizes. One lab file may claim a size near 2^64 bytes, and
// two of them summed in 64 bits would wrap round to a small number that looks
// true. A total stops at the largest value instead, and is shown as "at
// least that much".

#include <concepts>
#include <cstdint>
#include <limits>
#include <string>

namespace platform {

// Adds `amount` to `total`, stopping at the type's largest value.
template <std::unsigned_integral T>
constexpr void addSaturating(T& total, T amount) {
  total = amount > std::numeric_limits<T>::max() - total ? std::numeric_limits<T>::max()
                                                         : total + amount;
}

// Whether a byte total stopped at the largest value: the true total is at
// least that.
constexpr bool isSaturated(std::uint64_t total) {
  return total == std::numeric_limits<std::uint64_t>::max();
}

// A byte total in decimal; a saturated one followed by "+".
inline std::string byteTotalText(std::uint64_t total) {
  return std::to_string(total) + (isSaturated(total) ? "+" : "");
}

}  // namespace platform
