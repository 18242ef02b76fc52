#pragma once
// Display types: the numeric codes every part of the program uses to name a
// display (their tab texts and status words are in session/display_traits.h).

#include <array>

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

}  // namespace display
