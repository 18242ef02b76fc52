#pragma once
// What text the lab can keep: the lab file is UTF-8 JSON, so a text that is
// not well-formed UTF-8 (a lone UTF-16 surrogate, a cut-off sequence, stray
// bytes) could not be written back, and a NUL would end the text early for
// any C caller. Lengths are counted as the API counts them, in UTF-16 units.

#include <cstddef>
#include <string_view>

namespace lab {

// Well-formed UTF-8 without NUL characters.
bool isWritableText(std::string_view text);
// UTF-16 units of well-formed UTF-8 text (a character beyond U+FFFF counts two).
std::size_t utf16Length(std::string_view text);

// The limits of the systems the lab stands in for: names and passwords as
// the API bounds them (lmcons.h), every other account text as the account
// database keeps it, a counted string whose length is a 16-bit byte count.
inline constexpr std::size_t kMaxUserNameLength = 20;       // LM20_UNLEN
inline constexpr std::size_t kMaxGroupNameLength = 256;     // GNLEN
inline constexpr std::size_t kMaxPasswordLength = 256;      // PWLEN
inline constexpr std::size_t kMaxAccountTextLength = 32767;

}  // namespace lab
