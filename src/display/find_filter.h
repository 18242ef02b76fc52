#pragma once
// Find and filter over a result list: both test the record behind each row
// (dlgthreads/record_match.h), never the texts the cells show.

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "dlgthreads/record_match.h"

class QAbstractItemModel;
class QTableView;

namespace display {

// A test of a model row's record; empty for a model without searchable
// records.
std::function<bool(int row)> rowMatcher(const QAbstractItemModel& model,
                                        const dlgthreads::RecordMatcher& matcher);

// The first row, in the order the view shows them, from view position
// `start` on, whose record matches; nullopt when none does.
std::optional<int> findRow(const QTableView& view, const dlgthreads::RecordMatcher& matcher,
                           std::size_t start);
// Where a Find starts: one past the first selected row in view order (0
// without a selection, or from the top).
std::size_t findStart(const QTableView& view, bool fromTop);
// Selects and focuses the model row alone and scrolls it into view.
void selectRow(QTableView& view, int row);

// Filters the list: every record (or entry) is tested afresh and only the
// kept ones keep rows. The remaining row count; nullopt for a list that
// cannot be filtered.
std::optional<std::size_t> filterList(QTableView& view, const dlgthreads::RecordMatcher& matcher);

// The header texts of the list, in column order.
std::vector<std::string> columnTitles(const QAbstractItemModel& model);

}  // namespace display
