#pragma once
// The result records the workers write and the display, sorting, find and
// export read. Display code addresses columns by word index, so every record
// offers text(word) beside its named members; word indexes never change.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace dlgthreads {

using Word = std::uint32_t;

// One line of the Groups display: a group's own line or one of its members.
struct GroupRecord {
  static constexpr int kWords = 4;

  Word tag = 0;         // word 0: the display's own mark
  std::string name;     // word 1: group name, or a marker text on special lines
  std::string comment;  // word 2
  std::string third;    // word 3: container marker on a group line, member name otherwise

  // Words 1-3 as text; word 0 and out-of-range words give "".
  std::string_view text(int word) const;
};

// One account of the Users display.
struct UserRecord {
  static constexpr int kWords = 24;
  static constexpr int kLoggedOnFlagWord = 19;

  Word tag = 0;                  // 0
  std::string name;              // 1 account name
  std::string fullName;          // 2
  std::string logons;            // 3 "%10i"
  std::string lastLogon;         // 4 date text or "Never"
  std::string acctExpires;       // 5 date text or "Never"
  std::string disabled;          // 6 "Yes"/"No"
  std::string hasPassword;       // 7 password age not zero, "Yes"/"No"
  std::string maxStorage;        // 8 "%10i"
  std::string profile;           // 9 path or "*None*"
  std::string script;            // 10 path or "*None*"
  std::string pwExpires;         // 11 "Never"/"Yes"
  std::string lockedOut;         // 12 "Yes"/"No"
  std::string pwExpired;         // 13 "Yes"/"No"
  std::string cannotChangePw;    // 14 "Yes"/"No"
  std::string comment;           // 15
  std::string homeDrive;         // 16
  std::string homeDir;           // 17
  std::string loggedOn;          // 18 "Yes"/"No"
  Word loggedOnFlag = 0;         // 19 1 when word 18 is "Yes"
  std::string pwLastSet;         // 20 date text
  std::string rasAllowed;        // 21 "Yes"/"No"
  std::string callbackNumber;    // 22
  std::string callbackType;      // 23 "No callback"/"Admin.Preset"/"User defined"/""

  // Words 1-23 as text; word 19 reads "1" or "0"; word 0 and out-of-range
  // words give "".
  std::string_view text(int word) const;
  // The string member of a text word (1-23 except 19), nullptr otherwise.
  std::string* field(int word);
};

// One computer of the Servers display.
struct ServerRecord {
  static constexpr int kWords = 34;
  static constexpr int kTypeFlags = 22;
  static constexpr int kFirstFlagWord = 3;   // words 3-24 are the type flags
  static constexpr int kExtraEntries = 5;

  Word tag = 0;                                // 0
  std::string name;                            // 1
  std::string comment;                         // 2
  // 3-24, in order: workstation, server, SQL server, domain controller, backup
  // domain controller, AFP, Novell, domain member, print queue server, dial-in
  // server, Unix (Xenix), Windows NT, Windows for Workgroups or Windows, MFPN,
  // NT server that is no DC, potential browser, backup browser, master browser,
  // domain master browser, OSF, VMS, time source. Each 0 or 1.
  std::array<Word, kTypeFlags> typeFlags{};
  std::string build;                           // 25
  std::string version;                         // 26 "%i.%i"
  std::string servicePack;                     // 27
  std::string installDate;                     // 28 date text
  std::array<std::string, kExtraEntries> extra;  // 29-33

  // Word n as text; type flags read "1" or "0"; word 0 and out-of-range
  // words give "".
  std::string_view text(int word) const;
  // The type flag of word 3-24 (0 for other words).
  Word flag(int word) const;
};

// A bounded list of text lines written from entry 0 with a companion list of
// the same size. Storage grows as lines are written, so an unused area costs
// nothing; an entry never written reads as "" (the end of the lines).
template <std::size_t Capacity>
class LineArea {
 public:
  static constexpr std::size_t kCapacity = Capacity;

  // Appends a line; false (and nothing stored) once the area is full.
  bool append(std::string line) {
    if (m_lines.size() >= Capacity) return false;
    m_lines.push_back(std::move(line));
    return true;
  }
  std::string_view line(std::size_t i) const {
    return i < m_lines.size() ? std::string_view(m_lines[i]) : std::string_view();
  }
  std::size_t used() const { return m_lines.size(); }
  const std::vector<std::string>& lines() const { return m_lines; }

  // The companion list: set by index, read as "" when never set.
  bool setCompanion(std::size_t i, std::string text) {
    if (i >= Capacity) return false;
    if (m_companion.size() <= i) m_companion.resize(i + 1);
    m_companion[i] = std::move(text);
    return true;
  }
  std::string_view companion(std::size_t i) const {
    return i < m_companion.size() ? std::string_view(m_companion[i]) : std::string_view();
  }

  void clear() {
    m_lines.clear();
    m_companion.clear();
  }

 private:
  std::vector<std::string> m_lines;
  std::vector<std::string> m_companion;
};

inline constexpr std::size_t kNetworkLines = 5000;
inline constexpr std::size_t kPerformanceLines = 5000;
inline constexpr std::size_t kAccessTreeLines = 20000;
inline constexpr std::size_t kFilesAreaEntries = 200000;

using NetworkLines = LineArea<kNetworkLines>;
using PerformanceLines = LineArea<kPerformanceLines>;
using AccessTreeLines = LineArea<kAccessTreeLines>;

// One entry of the Files display area (the six parallel arrays as one row).
struct FilesEntry {
  Word displayMark = 0;
  std::string name;     // empty = free entry, the end of the used entries
  std::string path;
  std::string rights;
  std::uint64_t bytes = 0;  // 64-bit, and stops at its largest value rather than wrapping
  std::uint32_t count = 0;  // stops at its largest value too
};

// The Files display area: entries used from the start without gaps, at most
// kFilesAreaEntries. Grows on demand.
class FilesArea {
 public:
  static constexpr std::size_t kCapacity = kFilesAreaEntries;

  // Entry i, created (empty) on first use; nullptr beyond the capacity.
  FilesEntry* at(std::size_t i) {
    if (i >= kCapacity) return nullptr;
    if (m_entries.size() <= i) m_entries.resize(i + 1);
    return &m_entries[i];
  }
  // Entry i for reading; an entry never created reads as a free entry.
  const FilesEntry& get(std::size_t i) const {
    static const FilesEntry kFree{};
    return i < m_entries.size() ? m_entries[i] : kFree;
  }
  // Entries up to (not including) the first free one.
  std::size_t used() const {
    std::size_t n = 0;
    while (n < m_entries.size() && !m_entries[n].name.empty()) ++n;
    return n;
  }
  std::size_t size() const { return m_entries.size(); }
  void clear() { m_entries.clear(); }

 private:
  std::vector<FilesEntry> m_entries;
};

}  // namespace dlgthreads
