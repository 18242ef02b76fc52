#include "dlgthreads/owner_totals.h"

#include "platform/byte_totals.h"

namespace dlgthreads {

void OwnerTotals::add(std::string_view key, std::string_view name, std::string_view qualified,
                      std::uint64_t bytes) {
  auto it = m_rows.find(std::string(key));
  if (it == m_rows.end()) {
    FilesEntry* entry = m_area.at(m_used);
    if (entry == nullptr) {
      m_capped = true;
      return;
    }
    entry->name = name.empty() ? std::string(key) : std::string(name);
    entry->bytes = 0;
    entry->count = 0;
    it = m_rows.emplace(std::string(key), Row{m_used, std::string(qualified)}).first;
    ++m_used;
  }
  FilesEntry* entry = m_area.at(it->second.index);
  // A total that would wrap shows the largest value, marked, rather than
  // a small number that looks true.
  platform::addSaturating(entry->bytes, bytes);
  platform::addSaturating(entry->count, std::uint32_t{1});
}

void OwnerTotals::finish() {
  std::unordered_map<std::string, std::size_t> holders;  // shown name -> owners
  for (const auto& [key, row] : m_rows) ++holders[m_area.get(row.index).name];
  for (const auto& [key, row] : m_rows) {
    FilesEntry* entry = m_area.at(row.index);
    if (holders[entry->name] > 1 && !row.qualified.empty()) entry->name = row.qualified;
  }
}

}  // namespace dlgthreads
