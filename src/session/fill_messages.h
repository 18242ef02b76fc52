#pragma once
// Texts the display fill shows, and the mark a worker leaves when the server
// could not be browsed for the display's information (a first record whose
// name begins with "ERROR").

#include <string_view>

namespace display {

inline constexpr std::string_view kErrorMark = "ERROR";

inline constexpr std::string_view kCannotBrowseText =
    "The specified server could not be browsed\nfor the type of information requested.\n "
    "Either choose another server, or change\nthe information type.";

inline constexpr std::string_view kUnknownThreadText = "An unknown thread has terminated.";

// The access rights form's name is neither a user nor a local group of the
// browse server.
inline constexpr std::string_view kUserUnknownText = "User unknown";

inline constexpr std::string_view kEditMenuMissingText = "error getting sub-menu handle";

constexpr bool isErrorRecord(std::string_view name) { return name.starts_with(kErrorMark); }

}  // namespace display
