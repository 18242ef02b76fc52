#include "users/workstation_list.h"

#include <algorithm>

namespace users {

namespace {

// Characters no computer name holds: the ones files and shares refuse, the
// list's own comma and the separators of other name forms.
constexpr std::string_view kRefused = "\\/:*?\"<>|,;=+[]";

std::string_view trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == text.npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::size_t characters(std::string_view utf8) {
  return static_cast<std::size_t>(std::count_if(utf8.begin(), utf8.end(), [](char c) {
    return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
  }));
}

bool refusedCharacter(char c) {
  const auto byte = static_cast<unsigned char>(c);
  return byte < 0x20 || byte == 0x7F || c == ' ' || kRefused.find(c) != kRefused.npos;
}

std::string folded(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

std::string nameProblem(std::string_view name) {
  std::string quoted(1, '"');
  quoted.append(name).push_back('"');
  if (std::any_of(name.begin(), name.end(), refusedCharacter))
    return quoted + " is not a computer name: a computer name holds no blanks and none of "
                    "these characters: \\ / : * ? \" < > | , ; = + [ ]";
  if (characters(name) > kMaxComputerName)
    return quoted + " is not a computer name: a computer name has at most " +
           std::to_string(kMaxComputerName) + " characters.";
  return {};
}

}  // namespace

std::vector<std::string> workstationNames(std::string_view list) {
  std::vector<std::string> names;
  while (!list.empty()) {
    const auto comma = list.find(',');
    const std::string_view name = trimmed(list.substr(0, comma));
    if (!name.empty()) names.emplace_back(name);
    if (comma == list.npos) break;
    list.remove_prefix(comma + 1);
  }
  return names;
}

WorkstationList workstationList(const std::vector<std::string>& typed) {
  WorkstationList result;
  std::vector<std::string> seen;
  for (const std::string& entry : typed) {
    const std::string_view name = trimmed(entry);
    if (name.empty()) continue;
    if (std::string problem = nameProblem(name); !problem.empty()) {
      result.problem = std::move(problem);
      return result;
    }
    std::string key = folded(name);
    if (std::ranges::find(seen, key) != seen.end()) {
      result.problem = "The workstation \"" + std::string(name) + "\" is given twice.";
      return result;
    }
    seen.push_back(std::move(key));
    if (!result.list.empty()) result.list += ',';
    result.list += name;
  }
  if (seen.size() > kMaxWorkstations)
    result.problem = "A user can be limited to at most " + std::to_string(kMaxWorkstations) +
                     " workstations; " + std::to_string(seen.size()) + " are given.";
  return result;
}

}  // namespace users
