#pragma once
// Reading a result list as the user sees it, for the clipboard copy, the
// print and the export: the header texts, which columns are hidden, and the
// rows in the view's current order. Rows the view hides (a filter) are left
// out; a sort that reorders the model's rows is followed as it is.

#include <string>
#include <vector>

class QTableView;

namespace display {

struct ListColumns {
  std::vector<std::string> titles;
  std::vector<bool> hidden;  // hidden section or width 0
  std::vector<int> widths;   // pixels; 0 when hidden
};

ListColumns listColumns(const QTableView& view);

// The model rows of the view's visible rows, top to bottom.
std::vector<int> listRowsInViewOrder(const QTableView& view);

// The display texts of every column of one model row (hidden ones too),
// into `cells` (reused between rows).
void listRowCells(const QTableView& view, int row, std::vector<std::string>& cells);

}  // namespace display
