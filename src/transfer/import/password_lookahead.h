#pragma once
// The passwords of a user file's next records, told to the platform ahead of
// the calls that set them, so that a backend whose passwords are slow to make
// ready (the lab hashes each) does that work on every core while the records
// are still applied one at a time, in order, with their messages as before.

#include <cstddef>
#include <optional>

#include "transfer/import/import_file.h"
#include "transfer/import/import_header.h"

namespace transfer {

class PasswordLookahead {
 public:
  PasswordLookahead(const ImportTable& table, const ImportHeader& header);
  // The backend forgets the passwords told and never set (a cancelled or
  // stopped import, an account that already existed).
  ~PasswordLookahead();
  PasswordLookahead(const PasswordLookahead&) = delete;
  PasswordLookahead& operator=(const PasswordLookahead&) = delete;

  // Before `row` (one of the table's) is applied: tells the passwords up to
  // kAhead records past it not told yet.
  void reached(const ImportRow& row);

  static constexpr std::size_t kAhead = 16;

 private:
  const ImportTable& m_table;
  std::optional<std::size_t> m_column;  // none: the file gives no passwords
  std::size_t m_told = 0;               // rows whose password was told
};

}  // namespace transfer
