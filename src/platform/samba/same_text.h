#pragma once
// Names as the domain compares them: equal without regard to the case of
// their ASCII letters.

#include <cctype>
#include <string_view>

namespace platform::samba {

inline bool sameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(a[i])) !=
        std::toupper(static_cast<unsigned char>(b[i])))
      return false;
  }
  return true;
}

}  // namespace platform::samba
