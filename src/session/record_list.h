#pragma once
// The records of one list display and the order its rows show them in: the
// records are adopted whole from a finished browse, and the rows are record
// indexes, so sorting and filtering only reorder indexes. The window's list
// models show a RecordList; the unattended run exports one. Plain C++.

#include <algorithm>
#include <cstdint>
#include <span>
#include <utility>
#include <vector>

#include "dlgthreads/record_holder.h"

namespace session {

template <class Record>
class RecordList {
 public:
  using Holder = dlgthreads::RecordHolder<Record>;

  void clear() {
    m_records = {};
    m_rows.clear();
  }

  // Takes the finished records, tags every one of them and gives a row, in
  // record order, to each that `shown` accepts.
  template <class Shown>
  void adopt(Holder records, Shown shown) {
    m_records = std::move(records);
    std::span<Record> filled = m_records.records();
    m_rows.clear();
    m_rows.reserve(filled.size());
    for (std::size_t i = 0; i < filled.size(); ++i) {
      filled[i].tag = 1;
      if (shown(std::as_const(filled[i]))) m_rows.push_back(static_cast<std::uint32_t>(i));
    }
  }
  void adoptAll(Holder records) {
    adopt(std::move(records), [](const Record&) { return true; });
  }

  // Tags every record kept (1) or dropped (0) by `keep`, then gives rows,
  // in record order, to the kept records `shown` accepts, in one pass. Every
  // record is tested afresh, so filters never accumulate. Returns the rows.
  template <class Keep, class Shown>
  std::size_t refilter(Keep keep, Shown shown) {
    std::span<Record> all = m_records.records();
    m_rows.clear();
    m_rows.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
      all[i].tag = 1;
      all[i].tag = keep(std::as_const(all[i])) ? 1 : 0;
      if (all[i].tag != 0 && shown(std::as_const(all[i])))
        m_rows.push_back(static_cast<std::uint32_t>(i));
    }
    return m_rows.size();
  }

  // Reorders the rows by `order` (three-way over two records), keeping the
  // present order among rows it finds equal.
  template <class Order>
  void sortRows(Order order) {
    std::span<const Record> all = m_records.records();
    std::stable_sort(m_rows.begin(), m_rows.end(), [&](std::uint32_t a, std::uint32_t b) {
      return order(all[a], all[b]) < 0;
    });
  }

  // Replaces the row order; values that are no valid record index are dropped.
  void setRowOrder(std::vector<std::uint32_t> rows) {
    const std::size_t records = recordCount();
    std::erase_if(rows, [records](std::uint32_t r) { return r >= records; });
    m_rows = std::move(rows);
  }

  std::size_t rowCount() const { return m_rows.size(); }
  // The record index of a row; -1 when out of range.
  std::int64_t recordIndex(std::size_t row) const {
    return row < m_rows.size() ? static_cast<std::int64_t>(m_rows[row]) : -1;
  }
  const Record* recordAt(std::size_t row) const {
    return row < m_rows.size() ? &m_records.records()[m_rows[row]] : nullptr;
  }
  std::span<const Record> records() const { return m_records.records(); }
  std::size_t recordCount() const { return m_records.records().size(); }
  const std::vector<std::uint32_t>& rows() const { return m_rows; }
  // Whether the browse left a record array at all (a failed one may not).
  bool hasArray() const { return m_records.hasArray(); }

 private:
  Holder m_records;
  std::vector<std::uint32_t> m_rows;
};

}  // namespace session
