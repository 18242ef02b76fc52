#include "app/command_line.h"

#include "platform/message_text.h"
#include "session/display_traits.h"

namespace app {

OptionsResult parseOptions(const std::vector<std::string>& args) {
  Options options;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* out) -> bool {
      if (i + 1 >= args.size() || args[i + 1].empty()) return false;
      *out = args[++i];
      return true;
    };
    if (a == "--lab") {
      if (!value(&options.labFile)) return {std::nullopt, "--lab needs a lab file"};
    } else if (a.starts_with("--lab=")) {
      options.labFile = a.substr(6);
      if (options.labFile.empty()) return {std::nullopt, "--lab needs a lab file"};
    } else if (a == "--backend") {
      if (!value(&options.backend)) return {std::nullopt, "--backend needs a backend name"};
      options.backendGiven = true;
    } else if (a.starts_with("--backend=")) {
      options.backend = a.substr(10);
      if (options.backend.empty()) return {std::nullopt, "--backend needs a backend name"};
      options.backendGiven = true;
    } else if (a == "--authentication-file") {
      if (!value(&options.authenticationFile))
        return {std::nullopt, "--authentication-file needs a file name"};
    } else if (a == "--screenshot") {
      if (!value(&options.screenshot)) return {std::nullopt, "--screenshot needs a file name"};
    } else if (a == "--no-splash") {
      options.splash = false;
    } else if (a == "--update") {
      options.importUpdate = true;
    } else if (a == "--create-homes") {
      options.importCreateHomes = true;
    } else if (a == "--dry-run") {
      options.importDryRun = true;
    } else if (a == "--members") {
      options.members = true;
    } else if (a == "--help" || a == "-h") {
      options.help = true;
    } else if (a.starts_with("--")) {
      return {std::nullopt, "unknown argument: " + platform::messageText(a)};
    } else {
      options.autoWords.push_back(a);
    }
  }
  if ((options.importUpdate || options.importCreateHomes || options.importDryRun) &&
      (options.autoWords.empty() || options.autoWords.front() != "import"))
    return {std::nullopt, "--update, --create-homes and --dry-run go with import"};
  if (options.members && (options.autoWords.empty() || options.autoWords.front() == "import"))
    return {std::nullopt, "--members goes with an unattended groups export"};
  if (!options.labFile.empty() && options.backend != "lab")
    return {std::nullopt, "--lab goes with the lab backend, not with " + platform::messageText(options.backend)};
  return {options, {}};
}

std::string usageText() {
  return "usage: veltrane [--backend NAME] [--lab FILE] [--authentication-file FILE]\n"
         "                [--no-splash] [--screenshot FILE]\n"
         "       veltrane [--lab FILE] KEYWORD SERVER FILE [STARTDIR] [--members]\n"
         "       veltrane [--lab FILE] import SERVER FILE [--update] [--create-homes] [--dry-run]\n"
         "  --backend NAME     what serves the network: lab (the default) or samba;\n"
         "                     remembered for the next start without --backend\n"
         "  --lab FILE         browse the simulated network in FILE instead of the default lab\n"
         "  --authentication-file FILE\n"
         "                     samba: the account to act as (username =, password =,\n"
         "                     domain =); without it, the Kerberos ticket cache, else\n"
         "                     a Log On dialog (unattended runs never ask)\n"
         "  --no-splash        start without the splash picture\n"
         "  --screenshot FILE  browse the Users display, save the window as FILE (PNG) and quit\n"
         "  -h, --help         print this usage and end\n"
         "  KEYWORD SERVER FILE [STARTDIR]\n"
         "                     unattended: browse SERVER's display (users, groups, servers,\n"
         "                     network, quotas, files0, files1, files2, performance, trusts),\n"
         "                     export it to FILE in the chosen export format and end; STARTDIR\n"
         "                     is the Files start directory (default C:\\). Runs without a\n"
         "                     display.\n"
         "  --members          with groups: write each group's members too, as the window's\n"
         "                     export does with Show Members on\n"
         "  import SERVER FILE [--update] [--create-homes] [--dry-run]\n"
         "                     unattended: import the users or groups of the tab-delimited FILE\n"
         "                     into SERVER, adding new accounts only unless --update is given;\n"
         "                     --create-homes creates each user's Home directory on its share.\n"
         "                     Each message is one line on standard error; exit status 0 when\n"
         "                     every record was applied, 1 when any failed, 2 for a request\n"
         "                     that cannot be understood.\n"
         "                     --dry-run changes nothing: it prints, one line per record,\n"
         "                     what the import would do (added, updated and which fields,\n"
         "                     unchanged, would fail and why), then the counts; exit status\n"
         "                     0 when every record would be applied, else 1.\n";
}

std::optional<AutoCommand> parseAutoCommandLine(std::string_view line) {
  std::vector<std::string_view> words;
  std::size_t start = 0;
  while (true) {
    const std::size_t blank = line.find(' ', start);
    if (blank == std::string_view::npos) {
      // A trailing blank leaves an empty last word: dropped.
      if (start < line.size() || words.empty()) words.push_back(line.substr(start));
      break;
    }
    words.push_back(line.substr(start, blank - start));
    start = blank + 1;
  }
  return autoCommandFromWords(words);
}

std::optional<AutoCommand> autoCommandFromWords(std::span<const std::string_view> words) {
  if (words.empty() || words[0].empty()) return std::nullopt;

  AutoCommand command;
  const std::string_view keyword = words[0];
  struct Keyword {
    std::string_view text;
    display::DisplayType type;
    settings::Word files;
  };
  using display::DisplayType;
  constexpr Keyword kKeywords[] = {
      {"users", DisplayType::Users, 0},     {"groups", DisplayType::Groups, 0},
      {"files0", DisplayType::Files, 0},    {"files1", DisplayType::Files, 1},
      {"files2", DisplayType::Files, 2},    {"servers", DisplayType::Servers, 0},
      {"network", DisplayType::Network, 0}, {"quotas", DisplayType::Quotas, 0},
      {"performance", DisplayType::Performance, 0}, {"trusts", DisplayType::Trusts, 0},
  };
  for (const Keyword& k : kKeywords) {
    if (keyword.find(k.text) == std::string_view::npos) continue;
    command.displayType = k.type;
    if (k.type == DisplayType::Files) command.filesDisplayType = k.files;
  }
  if (words.size() > 1) command.server = std::string(words[1]);
  if (words.size() > 2) command.exportFile = std::string(words[2]);
  if (words.size() > 3 && command.displayType == DisplayType::Files)
    command.startDirectory = std::string(words[3]);
  return command;
}

std::string optionsMisfit(const AutoCommand& command) {
  if (command.members && command.displayType != display::DisplayType::Groups)
    return "--members goes with the groups display, not the " +
           std::string(display::tabText(command.displayType)) + " display";
  return {};
}

bool isCompleteAutoCommand(const AutoCommand& command) {
  return command.displayType != display::DisplayType::None && !command.server.empty() &&
         !command.exportFile.empty();
}

}  // namespace app
