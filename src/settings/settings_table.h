#pragma once
// The table of stored settings in their save order, with each value's form.

#include <span>
#include <string>
#include <variant>

#include "settings/settings_values.h"

namespace settings {

enum class Form { Flag, Number, Text };

struct SettingEntry {
  const char* name;
  Form form;
  Word SettingsValues::*word = nullptr;         // Flag and Number
  std::string SettingsValues::*text = nullptr;  // Text
};

// Every value of the program key that the full save writes and the load
// reads, in save order (Version and Build excluded: they are always written
// with the program's own labels and never taken from the registry).
std::span<const SettingEntry> programKeyEntries();

}  // namespace settings
