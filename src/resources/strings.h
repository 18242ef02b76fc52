#pragma once
// The string table: every text the program quotes by number. Ids from 59136
// are the program's own numbered texts; the status help and tool tip of each
// of the window's first commands is the entry whose id is the command id
// (its registration quotes it; a later command brings its own text). Ids
// from 61000 are texts the program uses by name only (markers and flag
// words).

#include <string>
#include <string_view>

namespace res {

// Marker and flag texts of the browse records.
inline constexpr unsigned kStrEndOfData = 61000;
inline constexpr unsigned kStrGroupContainer = 61001;
inline constexpr unsigned kStrLocalGroupContainer = 61002;
inline constexpr unsigned kStrYes = 61003;
inline constexpr unsigned kStrNo = 61004;
inline constexpr unsigned kStrNever = 61005;
inline constexpr unsigned kStrNone = 61006;
inline constexpr unsigned kStrNoCallback = 61007;
inline constexpr unsigned kStrAdminPreset = 61008;
inline constexpr unsigned kStrUserDefined = 61009;

// The text of `id`, or an empty view when the table has none.
std::string_view loadString(unsigned id);
inline std::string str(unsigned id) { return std::string(loadString(id)); }

// The program's title: the name of its executable file without extension.
// Set once at start-up from the command line; message boxes whose caption is
// not otherwise given carry it.
std::string programTitle();
void setProgramTitle(std::string_view executablePath);

}  // namespace res
