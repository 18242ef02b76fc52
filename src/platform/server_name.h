#pragma once
// Server names as the program keeps them: in UNC form, "\\NAME".

#include <string>
#include <string_view>

namespace platform {

// `name` with two leading backslashes, added when it has none.
inline std::string uncName(std::string_view name) {
  if (name.starts_with("\\\\")) return std::string(name);
  std::string unc = "\\\\";
  unc += name;
  return unc;
}

}  // namespace platform
