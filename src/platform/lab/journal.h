#pragma once
// The change journal beside a lab file ("lab.json.journal"): each change is
// appended as one framed record and synced before the change is reported
// done, so that a change costs what it touched rather than the whole file.
//
// Layout: a header record naming the lab file's content it applies to (size
// and hash), then one record per change. A record is
//   <payload length> SP <CRC-32 of the payload, 8 hex digits> SP <payload> LF
// The file grows in zero-filled steps that are synced once, so that a
// record's sync writes data only; reading stops at the first zero byte. A
// record cut short by a crash can only be the last one and is dropped;
// damage followed by anything but zeros is refused, never skipped.
//
// A fold ends the journal with a mark naming the lab content it wrote
// before that content replaces the lab file, so a journal whose header does
// not match its lab is known for one already folded (its last record names
// the lab as it is) or refused (a journal beside another or a hand-edited
// lab): a load never deletes changes it cannot place.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lab {

// Identifies a lab file's content: a journal applies to that content only.
struct LabIdentity {
  std::uint64_t size = 0;
  std::uint64_t hash = 0;
  friend bool operator==(const LabIdentity&, const LabIdentity&) = default;
};
LabIdentity identityOf(std::string_view labText);

class Journal {
 public:
  explicit Journal(std::string labPath);
  ~Journal();
  Journal(const Journal&) = delete;
  Journal& operator=(const Journal&) = delete;

  static std::string pathFor(std::string_view labPath) { return std::string(labPath) + ".journal"; }
  const std::string& path() const { return m_path; }

  // The most a journal may hold: a bigger one is refused before it is read.
  static constexpr std::uint64_t kMaxSize = std::uint64_t{1} << 30;

  // What read() found.
  enum class Found {
    Nothing,       // no journal, or one cut off before its header was synced
    Records,       // a journal for this content: *records are its changes
    Folded,        // a journal already folded into the lab file as it is now
    OtherContent,  // a journal written for other content: left alone
  };
  // Reads the change records that apply to the lab content `lab`. False
  // with *error when the journal is damaged before its last record, too big,
  // not a regular file or cannot be read; the file is left as it was.
  bool read(const LabIdentity& lab, std::vector<std::string>* records, Found* found,
            std::string* error);

  // Appends one change record; the journal is started (with its header
  // for `lab`) by the first. With `sync` the record (and any unsynced one
  // before it) is on disk before this returns; without, sync() does that
  // later for all of them at once. On failure the journal is as before and
  // *error says why.
  bool append(const LabIdentity& lab, std::string_view payload, bool sync, std::string* error);
  // Brings every record appended so far to disk.
  bool sync(std::string* error);
  // True when records were appended since the last sync.
  bool unsynced() const { return m_unsynced; }

  // Ends the journal with the mark of a fold into the lab content `into`
  // (synced), to be written before that content replaces the lab file.
  bool markFolded(const LabIdentity& into, std::string* error);
  // Gives new journal files this mode (that of the lab file they follow).
  void setMode(unsigned mode) { m_mode = mode; }

  // Bytes of records written so far (0 when there is no journal).
  std::uint64_t size() const { return m_end; }

  // Deletes the journal file (after its records reached the lab file).
  bool remove(std::string* error);

 private:
  bool start(const LabIdentity& lab, std::string* error);
  bool reserve(std::uint64_t end, std::string* error);
  void closeFile();

  std::string m_path;
  int m_fd = -1;
  std::uint64_t m_end = 0;       // where the next record goes
  std::uint64_t m_capacity = 0;  // bytes of the file written (records and zeros)
  bool m_unsynced = false;
  unsigned m_mode = 0600;
};

}  // namespace lab
