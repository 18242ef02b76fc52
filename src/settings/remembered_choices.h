#pragma once
// What the program remembers of the user's own last choices, beside the
// settings the settings sheet edits: the folder and format of the last
// export and where the window was. Kept under the program's key like the
// settings, but saved on their own (when the window closes), so the sheet's
// OK never overwrites them nor they the sheet's values.

#include <optional>
#include <string>

#include "settings/settings_values.h"

namespace settings {

struct WindowPlace {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  bool operator==(const WindowPlace&) const = default;
};

struct RememberedChoices {
  std::string exportFolder;          // "x_last_folder"; empty: none yet
  std::optional<Word> exportFilter;  // "x_last_filter": 0 tab, 1 CSV, 2 database
  std::optional<WindowPlace> window;  // "w_left", "w_top", "w_width", "w_height"
  bool operator==(const RememberedChoices&) const = default;
};

// Values that are missing or unreadable are left unset; a key that cannot
// be opened gives nothing remembered.
RememberedChoices loadRememberedChoices();
// Silent when the key cannot be opened: nothing the user asked for is lost.
void saveRememberedChoices(const RememberedChoices& choices);

}  // namespace settings
