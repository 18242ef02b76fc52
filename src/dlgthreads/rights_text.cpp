#include "dlgthreads/rights_text.h"

#include <array>
#include <utility>

namespace dlgthreads {

void addRightsLetters(std::string& text, platform::ACCESS_MASK mask) {
  static constexpr std::array<std::pair<char, platform::ACCESS_MASK>, 6> kLetters = {{
      {'R', platform::FILE_GENERIC_READ},
      {'W', platform::FILE_GENERIC_WRITE},
      {'X', platform::FILE_GENERIC_EXECUTE},
      {'D', platform::DELETE},
      {'P', platform::WRITE_DAC},
      {'O', platform::WRITE_OWNER},
  }};
  const platform::ACCESS_MASK mapped = platform::MapGenericFileMask(mask);
  for (const auto& [letter, bits] : kLetters) {
    if ((mapped & bits) != bits) continue;
    if (text == "(None") {
      text = std::string("(") + letter;
    } else if (text.find(letter, 1) == std::string::npos) {
      text += letter;
    }
  }
}

std::string rightsText(platform::ACCESS_MASK mask) {
  std::string text = "(";
  addRightsLetters(text, mask);
  return text + ")";
}

}  // namespace dlgthreads
