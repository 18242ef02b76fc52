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
// record cut short by a crash can only be the last one and is dropped.

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

  // What read() found.
  enum class Found { Nothing, Records, OtherContent };
  // Reads the change records that apply to the lab content `lab`. A journal
  // written for other content (one already folded into the lab file) is
  // answered OtherContent and left alone. False with *error when the
  // journal is damaged before its last record or cannot be read.
  bool read(const LabIdentity& lab, std::vector<std::string>* records, Found* found,
            std::string* error);

  // Appends one change record and syncs it; the journal is started (with
  // its header for `lab`) by the first. On failure the journal is as before
  // and *error says why.
  bool append(const LabIdentity& lab, std::string_view payload, std::string* error);

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
};

}  // namespace lab
