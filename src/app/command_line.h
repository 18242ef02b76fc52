#pragma once
// The program's command line, and the parser of the unattended
// browse-and-export request.
//
// Positional arguments make the run unattended: `KEYWORD SERVER FILE
// [STARTDIR]` browses SERVER's display of KEYWORD, exports it to FILE and
// ends (MainWindow::runAutoCommand consumes the request).

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "window/display_type.h"
#include "settings/settings_values.h"

namespace app {

struct Options {
  std::string backend = "lab";  // --backend NAME: what serves the platform
  bool backendGiven = false;    // named on the command line (else: remembered)
  std::string labFile;     // --lab FILE; empty: the default lab
  // --authentication-file FILE: the account a network backend acts as, in
  // the format of Samba's tools (its password is kept in memory only).
  std::string authenticationFile;
  std::string screenshot;  // --screenshot FILE: browse Users, save the window, quit
  bool splash = true;      // --no-splash turns the start-up splash off
  bool help = false;       // --help
  bool importUpdate = false;       // --update: the import updates existing accounts
  bool importCreateHomes = false;  // --create-homes: the import creates home directories
  bool importDryRun = false;       // --dry-run: the import says what it would do, changing nothing
  bool members = false;  // --members: the unattended Groups export writes the member rows
  // The words of an unattended browse-and-export request, in order; empty
  // for an interactive run.
  std::vector<std::string> autoWords;
};

struct OptionsResult {
  std::optional<Options> options;
  std::string error;  // set when options is empty
};

// Parses the arguments after the program name.
OptionsResult parseOptions(const std::vector<std::string>& args);
std::string usageText();

// An unattended browse-and-export request.
struct AutoCommand {
  display::DisplayType displayType = display::DisplayType::None;  // None: no keyword
  settings::Word filesDisplayType = 0;  // files0, files1, files2
  std::string server;                   // word 1
  std::string exportFile;               // word 2
  std::string startDirectory = "C:\\";  // word 3, Files only
  // --members: the Groups display with its member rows, as Show Members
  // shows them in the window.
  bool members = false;
};

// Splits `line` into words at single blanks (a trailing blank is dropped);
// word 0 is matched against the keywords as a substring, the last matching
// keyword in the order users, groups, files0, files1, files2, servers,
// network, quotas, performance, trusts winning. Fails (nullopt) only when word 0 is empty; the
// caller then has string-table text 59287 to show.
std::optional<AutoCommand> parseAutoCommandLine(std::string_view line);
// The same request from words already split (each program argument is one
// word, blanks and all).
std::optional<AutoCommand> autoCommandFromWords(std::span<const std::string_view> words);
// A request the unattended run can carry out: a known keyword, a server and
// a file.
bool isCompleteAutoCommand(const AutoCommand& command);
// Why the options do not fit the request (the line to print), or "" when
// they do: --members only goes with the Groups display.
std::string optionsMisfit(const AutoCommand& command);
inline constexpr unsigned kStrBadCommandLine = 59287;
inline constexpr unsigned kStrAutoExportFileFailed = 59288;

}  // namespace app
