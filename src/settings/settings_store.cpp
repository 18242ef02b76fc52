#include "settings/settings_store.h"

#include <array>
#include <cstring>
#include <optional>

#include "platform/registry.h"
#include "settings/settings_table.h"

namespace settings {
namespace {

using namespace platform;

struct StoredValue {
  DWORD type = REG_NONE;
  std::vector<std::uint8_t> bytes;
};

// Reads one value through the fixed read area; nullopt when it is absent,
// unreadable or larger than the area.
std::optional<StoredValue> readValue(HKEY key, std::string_view name) {
  std::array<std::uint8_t, kReadAreaBytes> area{};
  DWORD type = REG_NONE;
  DWORD size = static_cast<DWORD>(area.size());
  if (RegQueryValueEx(key, name, &type, area, &size) != ERROR_SUCCESS) return std::nullopt;
  if (size > area.size()) return std::nullopt;
  return StoredValue{type, {area.begin(), area.begin() + size}};
}

// A stored text up to its terminating zero (or its stored end).
std::string textOf(const StoredValue& value) {
  const auto* begin = reinterpret_cast<const char*>(value.bytes.data());
  std::size_t len = 0;
  while (len < value.bytes.size() && begin[len] != '\0') ++len;
  return std::string(begin, len);
}

bool isTextType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

std::optional<Word> readNumber(HKEY key, std::string_view name) {
  auto value = readValue(key, name);
  // Only a 4-byte value is a number; a text of four bytes is not one.
  if (!value || value->bytes.size() != 4 || isTextType(value->type)) return std::nullopt;
  Word w = 0;
  std::memcpy(&w, value->bytes.data(), 4);
  return w;
}

std::optional<std::string> readText(HKEY key, std::string_view name) {
  auto value = readValue(key, name);
  if (!value) return std::nullopt;
  return textOf(*value);
}

void writeText(HKEY key, std::string_view name, std::string_view text) {
  // A text the load could never read back is not written: the stored value
  // stays as it was rather than being replaced by something unreadable.
  if (text.size() + 1 > kReadAreaBytes) return;
  RegSetValueEx(key, name, REG_SZ, regSzBytes(text));
}

void writeNumber(HKEY key, std::string_view name, Word value) {
  RegSetValueEx(key, name, REG_DWORD, regDwordBytes(value));
}

void writeFlag(HKEY key, std::string_view name, Word value) {
  RegSetValueEx(key, name, REG_SZ, regSzBytes(value == 1 ? "TRUE" : "FALSE"));
}

RegKey openOrCreate(HKEY root, std::string_view path) {
  RegKey key;
  DWORD disposition = 0;
  if (RegCreateKeyEx(root, path, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, key.out(),
                     &disposition) != ERROR_SUCCESS) {
    key.release();
    return RegKey();
  }
  return key;
}

// Opens an existing key with the access a save would need (so that values
// the program could not write back are not read either); null when it is
// absent or cannot be opened, with *status saying which.
RegKey openExisting(HKEY root, std::string_view path, LONG* status) {
  RegKey key;
  *status = RegOpenKeyEx(root, path, 0, KEY_ALL_ACCESS, key.out());
  if (*status != ERROR_SUCCESS) {
    key.release();
    return RegKey();
  }
  return key;
}

}  // namespace

SettingsStore::SettingsStore(ui::Messages& messages, std::string caption)
    : m_messages(messages), m_caption(std::move(caption)) {}

void SettingsStore::load(SettingsValues& values, ServerList& servers) {
  // Reading never creates anything: a start-up that only reads the
  // settings leaves the registry (and the lab file behind it) untouched.
  // An absent program key means nothing is stored yet: the defaults stand.
  LONG status = ERROR_SUCCESS;
  RegKey key = openExisting(HKEY_CURRENT_USER, kProgramKey, &status);
  if (!key && status != static_cast<LONG>(ERROR_FILE_NOT_FOUND)) {
    m_messages.ok("Failed to create/open registry key. Defaults will be used.", m_caption);
    return;
  }

  if (key) {
    if (auto stored = readText(key.get(), "BrowseServers")) {
      servers.entries = splitBrowseList(*stored);
      servers.selected = servers.entries.empty() ? -1 : 0;
    }
  }

  // Whatever labels are stored, the running program keeps its own.
  values.Version = kReleaseLabel;
  values.Build = kBuildLabel;

  if (key) {
    for (const SettingEntry& e : programKeyEntries()) {
      switch (e.form) {
        case Form::Flag:
          if (auto text = readText(key.get(), e.name)) values.*e.word = (*text == "TRUE") ? 1 : 0;
          break;
        case Form::Number:
          if (auto n = readNumber(key.get(), e.name)) values.*e.word = *n;
          break;
        case Form::Text:
          if (auto text = readText(key.get(), e.name)) values.*e.text = *text;
          break;
      }
    }
  }

  if (RegKey quota = openExisting(HKEY_LOCAL_MACHINE, kQuotaServiceKey, &status)) {
    if (auto ms = readNumber(quota.get(), "SleepTime")) values.SleepTime = *ms / 1000;
    if (auto level = readNumber(quota.get(), "WarningLevel")) values.WarningLevel = *level;
  }

  if (key) {
    if (auto size = readNumber(key.get(), "q_default_quota_size")) values.q_default_quota_size = *size;
  }
}

void SettingsStore::save(const SettingsValues& values) {
  RegKey key = openOrCreate(HKEY_CURRENT_USER, kProgramKey);
  if (!key) {
    m_messages.ok("Could not write data to registry.", m_caption);
    return;
  }

  writeText(key.get(), "Version", kReleaseLabel);
  writeText(key.get(), "Build", kBuildLabel);
  for (const SettingEntry& e : programKeyEntries()) {
    switch (e.form) {
      case Form::Flag: writeFlag(key.get(), e.name, values.*e.word); break;
      case Form::Number: writeNumber(key.get(), e.name, values.*e.word); break;
      case Form::Text: writeText(key.get(), e.name, values.*e.text); break;
    }
  }

  if (RegKey quota = openOrCreate(HKEY_LOCAL_MACHINE, kQuotaServiceKey)) {
    writeNumber(quota.get(), "SleepTime", values.SleepTime * 1000);
    writeNumber(quota.get(), "WarningLevel", values.WarningLevel);
  }

  writeNumber(key.get(), "q_default_quota_size", values.q_default_quota_size);
  writeNumber(key.get(), "q_quota_check_rate", values.SleepTime);
  writeNumber(key.get(), "q_warning_percentage", values.WarningLevel);
  writeText(key.get(), "ServersToBrowse", "");
}

void SettingsStore::saveBrowseList(const std::vector<std::string>& servers) {
  RegKey key = openOrCreate(HKEY_CURRENT_USER, kProgramKey);
  if (!key) return;
  writeText(key.get(), "BrowseServers", joinBrowseList(servers));
}

std::string joinBrowseList(const std::vector<std::string>& servers) {
  std::string joined;
  for (const std::string& name : servers) {
    // Keep whole names only, and only as many as a load can read back.
    if (joined.size() + name.size() + 1 + 1 > kReadAreaBytes) break;
    joined += name;
    joined += '\n';
  }
  return joined;
}

bool browseListFits(const std::vector<std::string>& servers) {
  std::size_t bytes = 0;
  for (const std::string& name : servers) bytes += name.size() + 1;
  return bytes + 1 <= kReadAreaBytes;
}

std::vector<std::string> splitBrowseList(std::string_view stored) {
  std::vector<std::string> names;
  std::size_t start = 0;
  for (std::size_t lf = stored.find('\n'); lf != std::string_view::npos;
       lf = stored.find('\n', start)) {
    names.emplace_back(stored.substr(start, lf - start));
    start = lf + 1;
  }
  return names;
}

}  // namespace settings
