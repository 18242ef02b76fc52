#pragma once
// What a worker reads of the main window: the settings, the record count it
// reports back, and the server chosen in the server combo.

#include <cstdint>
#include <string>

#include "settings/settings_values.h"

namespace dlgthreads {

struct BrowseState {
  settings::SettingsValues settings;
  // Set by the Users and Servers workers to the number of records found; the
  // controller starts each browse with 0.
  std::int32_t recordCount = 0;
  // The combo's text as typed, leading backslashes included; every platform
  // call that names "the selected server" passes this.
  std::string selectedServer;
};

}  // namespace dlgthreads
