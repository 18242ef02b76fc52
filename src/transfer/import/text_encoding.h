#pragma once
// The import file's character set: UTF-8 when the whole file is valid UTF-8,
// otherwise the Windows ANSI code page 1252 that older files were written in.

#include <string>
#include <string_view>

namespace transfer {

// True when `text` is well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view text);

// `text` read as Windows-1252, as UTF-8. The five bytes that code page
// leaves undefined become U+FFFD, so every byte maps to a stored character.
std::string windows1252ToUtf8(std::string_view text);

}  // namespace transfer
