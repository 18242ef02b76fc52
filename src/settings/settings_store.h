#pragma once
// The settings store: loads every setting from the registry once at start-up,
// and writes them back when the settings sheet is confirmed. The server list
// the user keeps (`BrowseServers`) is saved on its own whenever it changes.

#include <string>
#include <string_view>
#include <vector>

#include "settings/settings_values.h"
#include "ui/messages.h"

namespace settings {

inline constexpr std::string_view kProgramKey = "Software\\Brisle Software\\Veltrane 2.20";
inline constexpr std::string_view kQuotaServiceKey = "Software\\Brisle Software\\Hollisk";

// The registry read area: a value of more bytes than this is not read.
inline constexpr std::size_t kReadAreaBytes = 1000;

// The server combo's entries as the store sees them.
struct ServerList {
  std::vector<std::string> entries;
  int selected = -1;  // index into entries, -1 = none
};

class SettingsStore {
 public:
  // `caption` is the title failure messages carry (the program's title).
  SettingsStore(ui::Messages& messages, std::string caption);

  // Reads every stored value over `values` (which hold the defaults when
  // called). A stored server list replaces `servers` entirely and selects its
  // first entry. Values that are absent or unreadable keep what they hold.
  // The caller forces `g_show_members` off afterwards: that option never
  // survives a restart, whatever is stored.
  void load(SettingsValues& values, ServerList& servers);

  // Writes every value (the settings sheet's OK).
  void save(const SettingsValues& values);

  // Writes `BrowseServers` alone; silent when the key cannot be opened.
  void saveBrowseList(const std::vector<std::string>& servers);

 private:
  ui::Messages& m_messages;
  std::string m_caption;
};

// The stored form of a server list: every name followed by one line feed.
// Whole names are kept while the text fits what a load can read back.
std::string joinBrowseList(const std::vector<std::string>& servers);
// Whether every name of the list fits the stored form (none would be lost).
bool browseListFits(const std::vector<std::string>& servers);
// The names of a stored list; text after the last line feed is ignored.
std::vector<std::string> splitBrowseList(std::string_view stored);

}  // namespace settings
