#pragma once
// The owner walk's totals in the Files area: one entry per owner, found
// through a hash index wherever it stands. Once the area is full no owner is
// added, but the owners it holds go on counting.

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

#include "dlgthreads/records.h"

namespace dlgthreads {

class OwnerTotals {
 public:
  explicit OwnerTotals(FilesArea& area) : m_area(area) {}

  // Adds one file of `bytes` under the owner known by `key` (a SID's text,
  // or a marker such as "<access denied>"), shown as `name`; `qualified`
  // ("DOMAIN\\name") is shown instead when two owners share a name.
  void add(std::string_view key, std::string_view name, std::string_view qualified,
           std::uint64_t bytes);
  // Shows owners that share a name by their qualified names. Call once at
  // the end of the walk.
  void finish();
  // True when an owner could not be added because the area was full.
  bool capped() const { return m_capped; }

 private:
  struct Row {
    std::size_t index;
    std::string qualified;
  };
  FilesArea& m_area;
  std::unordered_map<std::string, Row> m_rows;  // by key
  std::size_t m_used = 0;
  bool m_capped = false;
};

}  // namespace dlgthreads
