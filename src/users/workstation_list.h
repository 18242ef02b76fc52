#pragma once
// Logon workstations: the computers an account may log on at. The server
// keeps one text of computer names separated by commas; an empty text means
// every workstation. Plain C++.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace users {

inline constexpr std::size_t kMaxWorkstations = 8;
// The longest computer name, in characters.
inline constexpr std::size_t kMaxComputerName = 15;

// The names of a list as the server keeps it, blanks around them trimmed,
// empty ones dropped.
std::vector<std::string> workstationNames(std::string_view list);

struct WorkstationList {
  // The text to keep, names joined by commas.
  std::string list;
  // Empty when the names are fine; else the message for the first fault.
  std::string problem;
};

// The names typed (empty ones skipped) as the server's text, or what is
// wrong with them: a name that is no computer name, one given twice, or more
// than eight.
WorkstationList workstationList(const std::vector<std::string>& typed);

}  // namespace users
