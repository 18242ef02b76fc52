#include "platform/lab/text_rules.h"

namespace lab {

bool isWritableText(std::string_view text) {
  const auto* p = reinterpret_cast<const unsigned char*>(text.data());
  const auto* end = p + text.size();
  while (p < end) {
    const unsigned char c = *p;
    if (c == 0) return false;
    if (c < 0x80) {
      ++p;
      continue;
    }
    std::size_t extra = 0;
    unsigned char low = 0x80, high = 0xBF;  // the range of the second byte
    if (c >= 0xC2 && c <= 0xDF) {
      extra = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
      extra = 2;
      if (c == 0xE0) low = 0xA0;       // no over-long forms
      else if (c == 0xED) high = 0x9F;  // no UTF-16 surrogates
    } else if (c >= 0xF0 && c <= 0xF4) {
      extra = 3;
      if (c == 0xF0) low = 0x90;
      else if (c == 0xF4) high = 0x8F;  // nothing beyond U+10FFFF
    } else {
      return false;
    }
    if (static_cast<std::size_t>(end - p) <= extra) return false;
    if (p[1] < low || p[1] > high) return false;
    for (std::size_t k = 2; k <= extra; ++k) {
      if ((p[k] & 0xC0) != 0x80) return false;
    }
    p += extra + 1;
  }
  return true;
}

std::size_t utf16Length(std::string_view text) {
  std::size_t units = 0;
  for (unsigned char c : text) {
    if ((c & 0xC0) != 0x80) ++units;  // a character starts here
    if (c >= 0xF0) ++units;           // and needs a surrogate pair
  }
  return units;
}

}  // namespace lab
