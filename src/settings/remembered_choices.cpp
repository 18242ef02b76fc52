#include "settings/remembered_choices.h"

#include <array>
#include <cstring>

#include "platform/registry.h"
#include "settings/settings_store.h"

namespace settings {
namespace {

using namespace platform;

// Reading opens the key only where it exists: a start must leave the
// registry (and a lab file) as it found it.
RegKey openProgramKeyToRead() {
  RegKey key;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, kProgramKey, 0, KEY_READ, key.out()) != ERROR_SUCCESS)
    key.release();
  return key;
}

RegKey openProgramKeyToWrite() {
  RegKey key;
  DWORD disposition = 0;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, kProgramKey, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS,
                     key.out(), &disposition) != ERROR_SUCCESS) {
    key.release();
  }
  return key;
}

std::optional<Word> readNumber(HKEY key, std::string_view name) {
  std::array<std::uint8_t, 4> bytes{};
  DWORD type = REG_NONE;
  DWORD size = static_cast<DWORD>(bytes.size());
  if (RegQueryValueEx(key, name, &type, bytes, &size) != ERROR_SUCCESS || type != REG_DWORD ||
      size != bytes.size())
    return std::nullopt;
  Word value = 0;
  std::memcpy(&value, bytes.data(), sizeof value);
  return value;
}

std::optional<std::string> readText(HKEY key, std::string_view name) {
  std::array<std::uint8_t, kReadAreaBytes> area{};
  DWORD type = REG_NONE;
  DWORD size = static_cast<DWORD>(area.size());
  if (RegQueryValueEx(key, name, &type, area, &size) != ERROR_SUCCESS || type != REG_SZ ||
      size > area.size())
    return std::nullopt;
  const auto* text = reinterpret_cast<const char*>(area.data());
  return std::string(text, strnlen(text, size));
}

// Window coordinates may be negative (a screen left of the first one).
int asInt(Word word) {
  int value = 0;
  std::memcpy(&value, &word, sizeof value);
  return value;
}
Word asWord(int value) {
  Word word = 0;
  std::memcpy(&word, &value, sizeof word);
  return word;
}

}  // namespace

RememberedChoices loadRememberedChoices() {
  RememberedChoices choices;
  RegKey key = openProgramKeyToRead();
  if (!key) return choices;
  if (auto folder = readText(key.get(), "x_last_folder")) choices.exportFolder = *folder;
  if (auto filter = readNumber(key.get(), "x_last_filter"); filter && *filter <= 2)
    choices.exportFilter = *filter;
  const auto left = readNumber(key.get(), "w_left");
  const auto top = readNumber(key.get(), "w_top");
  const auto width = readNumber(key.get(), "w_width");
  const auto height = readNumber(key.get(), "w_height");
  if (left && top && width && height && asInt(*width) > 0 && asInt(*height) > 0)
    choices.window = WindowPlace{asInt(*left), asInt(*top), asInt(*width), asInt(*height)};
  return choices;
}

void saveRememberedChoices(const RememberedChoices& choices) {
  RegKey key = openProgramKeyToWrite();
  if (!key) return;
  // A folder the load could not read back is left as it was.
  if (!choices.exportFolder.empty() && choices.exportFolder.size() < kReadAreaBytes)
    RegSetValueEx(key.get(), "x_last_folder", REG_SZ, regSzBytes(choices.exportFolder));
  if (choices.exportFilter)
    RegSetValueEx(key.get(), "x_last_filter", REG_DWORD, regDwordBytes(*choices.exportFilter));
  if (const auto& w = choices.window) {
    RegSetValueEx(key.get(), "w_left", REG_DWORD, regDwordBytes(asWord(w->left)));
    RegSetValueEx(key.get(), "w_top", REG_DWORD, regDwordBytes(asWord(w->top)));
    RegSetValueEx(key.get(), "w_width", REG_DWORD, regDwordBytes(asWord(w->width)));
    RegSetValueEx(key.get(), "w_height", REG_DWORD, regDwordBytes(asWord(w->height)));
  }
}

}  // namespace settings
