#pragma once
// Display types: the numeric codes every part of the program uses to name a
// display, with the tab texts and the words of the busy status text.

#include <array>
#include <string_view>

namespace display {

enum class DisplayType : int {
  Files = 101,
  Groups = 102,
  Network = 103,
  Quotas = 104,
  Servers = 105,
  Users = 106,
  Licenses = 107,
  Trusts = 108,
  Performance = 109,
  None = 999,  // the selected tab matches no display type
};

inline constexpr std::array<DisplayType, 9> kAllDisplayTypes = {
    DisplayType::Files,   DisplayType::Groups,   DisplayType::Network,
    DisplayType::Quotas,  DisplayType::Servers,  DisplayType::Users,
    DisplayType::Licenses, DisplayType::Trusts,  DisplayType::Performance};

// The tab text of a display type ("" for None).
std::string_view tabText(DisplayType type);
// The display type whose tab text is `text` exactly, else None.
DisplayType displayTypeFromTabText(std::string_view text);
// The word the busy state shows after "Browsing....".
std::string_view statusName(DisplayType type);
// (All three read the display traits, display/display_traits.h.)

}  // namespace display
