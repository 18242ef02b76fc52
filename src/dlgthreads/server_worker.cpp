#include "dlgthreads/server_worker.h"

#include <cstdint>
#include <cstring>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "dlgthreads/date_text.h"
#include "dlgthreads/printf_text.h"
#include "platform/netapi.h"
#include "platform/registry.h"
#include "settings/settings_store.h"

namespace dlgthreads {

using namespace platform;

namespace {

constexpr DWORD kServerListLength = 6655350;
constexpr std::size_t kRecordSlack = 100;
constexpr std::size_t kDefinitionBytes = 600;
constexpr std::size_t kVersionTextBytes = 200;
constexpr std::size_t kExtraValueBytes = 600;
constexpr std::size_t kVersionPrefillBlanks = 42;

constexpr std::string_view kVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
constexpr std::string_view kUnknownValue = "Unknown";
constexpr std::string_view kUnknownKey = "unknown";

// The type bit (or bits) behind each flag, in record order.
constexpr std::array<DWORD, ServerRecord::kTypeFlags> kFlagBits = {
    SV_TYPE_WORKSTATION,      SV_TYPE_SERVER,           SV_TYPE_SQLSERVER,
    SV_TYPE_DOMAIN_CTRL,      SV_TYPE_DOMAIN_BAKCTRL,   SV_TYPE_AFP,
    SV_TYPE_NOVELL,           SV_TYPE_DOMAIN_MEMBER,    SV_TYPE_PRINTQ_SERVER,
    SV_TYPE_DIALIN_SERVER,    SV_TYPE_XENIX_SERVER,     SV_TYPE_NT,
    SV_TYPE_WFW | SV_TYPE_WINDOWS,
    SV_TYPE_SERVER_MFPN,      SV_TYPE_SERVER_NT,        SV_TYPE_POTENTIAL_BROWSER,
    SV_TYPE_BACKUP_BROWSER,   SV_TYPE_MASTER_BROWSER,   SV_TYPE_DOMAIN_MASTER,
    SV_TYPE_SERVER_OSF,       SV_TYPE_SERVER_VMS,       SV_TYPE_TIME_SOURCE,
};

std::string hexBytes(std::span<const std::uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : bytes) {
    if (!out.empty()) out += ' ';
    out += kDigits[b >> 4];
    out += kDigits[b & 0x0F];
  }
  return out;
}

// The text of a value as read into a buffer: a text up to its terminator; a
// number in decimal; the strings of a multi-string separated by blanks.
std::string valueText(DWORD type, std::span<const std::uint8_t> bytes) {
  const auto* chars = reinterpret_cast<const char*>(bytes.data());
  switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      return std::string(chars, strnlen(chars, bytes.size()));
    case REG_MULTI_SZ: {
      std::string out;
      std::size_t i = 0;
      while (i < bytes.size() && chars[i] != '\0') {
        const std::size_t len = strnlen(chars + i, bytes.size() - i);
        if (!out.empty()) out += ' ';
        out.append(chars + i, len);
        i += len + 1;
      }
      return out;
    }
    case REG_DWORD:
      if (bytes.size() == sizeof(std::uint32_t)) {
        std::uint32_t n = 0;
        std::memcpy(&n, bytes.data(), sizeof n);
        return std::to_string(n);
      }
      return hexBytes(bytes);
    default:
      return hexBytes(bytes);
  }
}

// Reads a value through a buffer of `capacity` bytes; `fallback` when the
// value is missing or does not fit.
std::string readValueText(HKEY key, std::string_view name, std::size_t capacity,
                          std::string_view fallback) {
  std::vector<std::uint8_t> buffer(capacity);
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueEx(key, name, &type, buffer, &size) != ERROR_SUCCESS) {
    return std::string(fallback);
  }
  return valueText(type, std::span<const std::uint8_t>(buffer.data(), size));
}

// The five definitions from the program's settings key; all empty when the
// key cannot be opened.
std::array<std::string, ServerRecord::kExtraEntries> readDefinitions() {
  std::array<std::string, ServerRecord::kExtraEntries> out;
  RegKey key;
  if (RegOpenKeyEx(HKEY_CURRENT_USER, settings::kProgramKey, 0, KEY_READ, key.out()) !=
      ERROR_SUCCESS) {
    return out;
  }
  for (std::size_t n = 0; n < out.size(); ++n) {
    const std::string name = "s_xtra" + std::to_string(n + 1);
    std::vector<std::uint8_t> buffer(kDefinitionBytes);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueEx(key.get(), name, &type, buffer, &size) != ERROR_SUCCESS) continue;
    if (type != REG_SZ && type != REG_EXPAND_SZ) continue;
    out[n] = valueText(type, std::span<const std::uint8_t>(buffer.data(), size));
  }
  return out;
}

class ServerGathering {
 public:
  explicit ServerGathering(WorkerBlock& block)
      : m_block(block),
        m_asInteger(block.state.settings.x_date_as_integer != 0),
        m_extraEntries(block.state.settings.s_show_extra_entries != 0) {}

  // False when the browse was stopped on the way.
  bool run() {
    m_block.state.recordCount = 0;
    if (m_extraEntries) {
      const auto definitions = readDefinitions();
      for (std::size_t n = 0; n < m_definitions.size(); ++n) {
        m_definitions[n] = splitExtraEntry(definitions[n]);
      }
    }
    if (m_block.cancelled()) return false;

    NetBuffer list;
    DWORD read = 0;
    DWORD total = 0;
    NET_API_STATUS status = NetServerEnum(m_block.state.selectedServer, 101, list,
                                          kServerListLength, &read, &total, SV_TYPE_ALL, {},
                                          nullptr);
    if (status == ERROR_REQ_NOT_ACCEP) {
      if (m_block.cancelled()) return false;
      status = NetServerEnum({}, 101, list, kServerListLength, &read, &total, SV_TYPE_ALL, {},
                             nullptr);
    }
    if (m_block.cancelled()) return false;

    auto& holder = m_block.servers;
    if (!holder.allocate(static_cast<std::size_t>(total) + kRecordSlack)) {
      holder.release();
      return true;
    }
    const auto entries = list.get<SERVER_INFO_101>();
    if (read < total) showWorkerMessage(m_block, "There is more data than buffer space.", "Error");
    for (const SERVER_INFO_101& entry : entries) {
      if (m_block.cancelled()) return false;
      ServerRecord* record = holder.append();
      if (!record) break;
      fill(*record, entry);
      if (m_block.cancelled()) return false;
      ++m_block.state.recordCount;
    }
    if (entries.empty()) {
      showRefusal(m_block,
                  "The specified server could not be browsed\n"
                  "for the type of information requested.\n"
                  " Either choose another server, or change\n"
                  "the information type.",
                  status == NERR_InvalidComputer
                      ? std::string("Invalid computer Name")
                      : printfText("Error number : %i", static_cast<int>(status)));
    }
    holder.finish();
    m_block.state.recordCount = holder.count();
    return true;
  }

 private:
  void fill(ServerRecord& record, const SERVER_INFO_101& entry) {
    record.name = entry.sv101_name;
    record.comment = entry.sv101_comment;
    record.typeFlags = serverTypeFlags(entry.sv101_type);
    record.version = serverVersionText(entry.sv101_version_major, entry.sv101_version_minor);
    readRegistry(record, entry.sv101_name);
  }

  // One connection and one open of the version key per computer; the extra
  // entries only when they are shown.
  void readRegistry(ServerRecord& record, const std::string& name) {
    RegKey root;
    RegKey version;
    if (RegConnectRegistry("\\\\" + name, HKEY_LOCAL_MACHINE, root.out()) != ERROR_SUCCESS ||
        m_block.cancelled() ||
        RegOpenKeyEx(root.get(), kVersionKey, 0, KEY_READ, version.out()) != ERROR_SUCCESS) {
      record.build = kUnknownValue;
      record.servicePack = kUnknownValue;
      record.installDate = kUnknownValue;
      return;
    }
    const std::string prefill(kVersionPrefillBlanks, ' ');
    record.servicePack = readValueText(version.get(), "CSDVersion", kVersionTextBytes, prefill);
    record.build = readValueText(version.get(), "CurrentBuildNumber", kVersionTextBytes, prefill);
    record.installDate = installDate(version.get());
    if (!m_extraEntries) return;
    for (std::size_t n = 0; n < m_definitions.size(); ++n) {
      if (m_block.cancelled()) return;
      record.extra[n] = extraEntry(root.get(), m_definitions[n]);
    }
  }

  std::string installDate(HKEY key) const {
    std::uint8_t bytes[sizeof(std::uint32_t)] = {};
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueEx(key, "InstallDate", &type, bytes, &size) != ERROR_SUCCESS ||
        size != sizeof bytes) {
      return std::string(kUnknownValue);
    }
    std::uint32_t seconds = 0;
    std::memcpy(&seconds, bytes, sizeof seconds);
    return dateOrSerial(seconds, m_asInteger);
  }

  static std::string extraEntry(HKEY root, const ExtraEntryDefinition& definition) {
    RegKey key;
    if (RegOpenKeyEx(root, definition.keyPath, 0, KEY_READ, key.out()) != ERROR_SUCCESS) {
      return std::string(kUnknownKey);
    }
    return readValueText(key.get(), definition.valueName, kExtraValueBytes, kUnknownValue);
  }

  WorkerBlock& m_block;
  const bool m_asInteger;
  const bool m_extraEntries;
  std::array<ExtraEntryDefinition, ServerRecord::kExtraEntries> m_definitions;
};

}  // namespace

ExtraEntryDefinition splitExtraEntry(std::string_view definition) {
  const auto slash = definition.rfind('\\');
  if (slash == std::string_view::npos) return {{}, std::string(definition)};
  return {std::string(definition.substr(0, slash)), std::string(definition.substr(slash + 1))};
}

std::array<Word, ServerRecord::kTypeFlags> serverTypeFlags(std::uint32_t typeBits) {
  std::array<Word, ServerRecord::kTypeFlags> flags{};
  for (std::size_t i = 0; i < flags.size(); ++i) flags[i] = (typeBits & kFlagBits[i]) != 0 ? 1 : 0;
  return flags;
}

std::string serverVersionText(std::uint32_t major, std::uint32_t minor) {
  return printfText("%i.%i", static_cast<int>(major & 0x0F), static_cast<int>(minor));
}

void gatherServers(std::shared_ptr<WorkerBlock> block) {
  BeginWork(*block);
  ServerGathering(*block).run();
  FinishWork(block);
}

}  // namespace dlgthreads
