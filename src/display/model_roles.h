#pragma once
// Item data roles shared by the result list models.

#include <Qt>

namespace display {

enum ModelRole : int {
  // The row's record index in the model's record array (the row data value).
  kRecordIndexRole = Qt::UserRole + 1,
  // The record field behind a cell, unformatted, for sorting.
  kRawRole,
  // The record's tag word: 1 shown and kept, 0 dropped by a filter.
  kTagRole,
};

}  // namespace display
