#pragma once
// Text from outside (a lab file, an import file, the command line, a server)
// quoted into a message. Such text can be of any length and hold anything: a
// message that echoes it whole could run to megabytes, a NUL would cut it
// short wherever it passes as a C string, and ESC or BEL would reach the
// terminal as commands. So it is shown escaped and cut:
//
//   - control characters as C escapes: \0 \a \b \t \n \v \f \r, any other
//     as \xNN (ESC is \x1b, DEL \x7f), the C1 controls as \u0080 ... \u009f;
//   - valid UTF-8 beyond ASCII as it is; a byte that is not valid UTF-8 as
//     \xNN;
//   - at most `maxChars` shown characters (an escape counts as the
//     characters it shows), then "… (N more bytes)" for what was left out.
//
// A backslash in the text is shown as it is: paths such as C:\DATA stay
// readable, at the price of an escape and a backslash looking alike.

#include <cstddef>
#include <string>
#include <string_view>

namespace platform {

// The length a quoted piece of input is cut to.
inline constexpr std::size_t kQuotedTextChars = 200;
// A file path named in a message: longer than any real path, still bounded.
inline constexpr std::size_t kQuotedPathChars = 4096;
// A whole message built elsewhere (a library's) that may echo input.
inline constexpr std::size_t kWholeMessageChars = 1000;

// `text` escaped and cut as above.
std::string messageText(std::string_view text, std::size_t maxChars = kQuotedTextChars);
// The same between double quotes.
std::string quotedText(std::string_view text, std::size_t maxChars = kQuotedTextChars);

// A text of several lines as one line (a status bar part, a line of
// standard error): its lines, blanks trimmed and empty ones left out,
// joined by single spaces. Nothing is escaped.
std::string oneLine(std::string_view text);

}  // namespace platform
