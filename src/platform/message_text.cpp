#include "platform/message_text.h"

#include <algorithm>

namespace platform {
namespace {

constexpr char kHex[] = "0123456789abcdef";

// The length of the valid UTF-8 sequence of two to four bytes at the start
// of `text`, with its code point; 0 when there is none (overlong forms,
// surrogates and code points past U+10FFFF are not valid).
std::size_t utf8Sequence(std::string_view text, char32_t* point) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t value = 0;
  char32_t least = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2, value = lead & 0x1F, least = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3, value = lead & 0x0F, least = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4, value = lead & 0x07, least = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    value = (value << 6) | (byte(i) & 0x3F);
  }
  if (value < least || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) return 0;
  *point = value;
  return length;
}

std::string hexEscape(unsigned char c) { return {'\\', 'x', kHex[c >> 4], kHex[c & 0xF]}; }

// What an ASCII control character shows as.
std::string controlEscape(unsigned char c) {
  switch (c) {
    case '\0': return "\\0";
    case '\a': return "\\a";
    case '\b': return "\\b";
    case '\t': return "\\t";
    case '\n': return "\\n";
    case '\v': return "\\v";
    case '\f': return "\\f";
    case '\r': return "\\r";
    default: return hexEscape(c);
  }
}

}  // namespace

std::string messageText(std::string_view text, std::size_t maxChars) {
  std::string out;
  std::size_t shown = 0;
  std::size_t i = 0;
  // Appends one piece of `chars` shown characters read from `bytes` input
  // bytes; false when it no longer fits.
  const auto put = [&](std::string_view piece, std::size_t chars, std::size_t bytes) {
    if (shown + chars > maxChars) return false;
    out += piece;
    shown += chars;
    i += bytes;
    return true;
  };
  while (i < text.size()) {
    const auto c = static_cast<unsigned char>(text[i]);
    bool fits = true;
    if (c < 0x20 || c == 0x7F) {
      const std::string e = controlEscape(c);
      fits = put(e, e.size(), 1);
    } else if (c < 0x80) {
      fits = put(text.substr(i, 1), 1, 1);
    } else if (char32_t point = 0; const std::size_t length = utf8Sequence(text.substr(i), &point)) {
      if (point <= 0x9F) {
        // A C1 control: some terminals take U+009B as the start of a command.
        const std::string e = {'\\', 'u', '0', '0', kHex[point >> 4], kHex[point & 0xF]};
        fits = put(e, e.size(), length);
      } else {
        fits = put(text.substr(i, length), 1, length);
      }
    } else {
      fits = put(hexEscape(c), 4, 1);
    }
    if (!fits) break;
  }
  if (i < text.size()) out += "\xE2\x80\xA6 (" + std::to_string(text.size() - i) + " more bytes)";
  return out;
}

std::string quotedText(std::string_view text, std::size_t maxChars) {
  std::string quoted(1, '"');
  quoted += messageText(text, maxChars);
  quoted += '"';
  return quoted;
}

std::string oneLine(std::string_view text) {
  std::string line;
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    std::string_view part = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    while (!part.empty() && (part.front() == ' ' || part.front() == '\t')) part.remove_prefix(1);
    while (!part.empty() && (part.back() == ' ' || part.back() == '\t')) part.remove_suffix(1);
    if (part.empty()) continue;
    if (!line.empty()) line += ' ';
    line += part;
  }
  return line;
}

}  // namespace platform
