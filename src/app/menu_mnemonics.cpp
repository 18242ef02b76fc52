#include "app/menu_mnemonics.h"

#include <cctype>

namespace app {
namespace {

char lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }
bool isLetter(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// The text without its mnemonic marker ("&&" stays a plain ampersand).
std::string plainText(std::string_view text) {
  std::string plain;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&') continue;
    plain += text[i];
    if (text[i] == '&') ++i;
  }
  return plain;
}

}  // namespace

char mnemonicOf(std::string_view text) {
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] != '&') continue;
    if (text[i + 1] == '&') {
      ++i;
      continue;
    }
    return lower(text[i + 1]);
  }
  return 0;
}

std::string withFreeMnemonic(std::string_view text, std::string_view taken) {
  const char own = mnemonicOf(text);
  if (own != 0 && taken.find(own) == std::string_view::npos) return std::string(text);
  const std::string plain = plainText(text);
  const auto freeAt = [&](bool wordStartsOnly) -> std::size_t {
    for (std::size_t i = 0; i < plain.size(); ++i) {
      const bool wordStart = i == 0 || !isLetter(plain[i - 1]);
      if (!isLetter(plain[i]) || (wordStartsOnly && !wordStart)) continue;
      if (taken.find(lower(plain[i])) == std::string_view::npos) return i;
    }
    return std::string::npos;
  };
  std::size_t at = freeAt(true);
  if (at == std::string::npos) at = freeAt(false);
  if (at == std::string::npos) return std::string(text);
  // Ampersands of the plain text are doubled again; the marker goes in front of `at`.
  std::string marked;
  for (std::size_t i = 0; i < plain.size(); ++i) {
    if (i == at) marked += '&';
    marked += plain[i];
    if (plain[i] == '&') marked += '&';
  }
  return marked;
}

}  // namespace app
