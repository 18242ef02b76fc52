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
constexpr std::string_view tabText(DisplayType type) {
  switch (type) {
    case DisplayType::Files: return "Files";
    case DisplayType::Groups: return "Groups";
    case DisplayType::Network: return "Network";
    case DisplayType::Quotas: return "Quotas";
    case DisplayType::Servers: return "Servers";
    case DisplayType::Users: return "Users";
    case DisplayType::Licenses: return "Licenses";
    case DisplayType::Trusts: return "Trusts";
    case DisplayType::Performance: return "Performance";
    case DisplayType::None: break;
  }
  return {};
}

// The display type whose tab text is `text` exactly, else None.
constexpr DisplayType displayTypeFromTabText(std::string_view text) {
  for (DisplayType t : kAllDisplayTypes)
    if (tabText(t) == text) return t;
  return DisplayType::None;
}

// The word the busy state shows after "Browsing....".
constexpr std::string_view statusName(DisplayType type) {
  switch (type) {
    case DisplayType::Files: return "files";
    case DisplayType::Groups: return "groups";
    case DisplayType::Network: return "network";
    case DisplayType::Quotas: return "quotas";
    case DisplayType::Servers: return "servers";
    case DisplayType::Users: return "users";
    case DisplayType::Licenses: return "licenses";
    case DisplayType::Trusts: return "trusts";
    case DisplayType::Performance: return "performance";
    case DisplayType::None: break;
  }
  return {};
}

}  // namespace display
