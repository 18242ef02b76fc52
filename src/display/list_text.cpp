#include "display/list_text.h"

#include <QHeaderView>
#include <QTableView>

namespace display {

ListColumns listColumns(const QTableView& view) {
  ListColumns columns;
  const QAbstractItemModel* model = view.model();
  if (!model) return columns;
  const int count = model->columnCount();
  columns.titles.reserve(static_cast<std::size_t>(count));
  for (int c = 0; c < count; ++c) {
    const bool hidden = view.isColumnHidden(c) || view.columnWidth(c) == 0;
    columns.titles.push_back(model->headerData(c, Qt::Horizontal).toString().toStdString());
    columns.hidden.push_back(hidden);
    columns.widths.push_back(hidden ? 0 : view.columnWidth(c));
  }
  return columns;
}

std::vector<int> listRowsInViewOrder(const QTableView& view) {
  std::vector<int> rows;
  const QAbstractItemModel* model = view.model();
  if (!model) return rows;
  const int count = model->rowCount();
  rows.reserve(static_cast<std::size_t>(count));
  const QHeaderView* header = view.verticalHeader();
  for (int visual = 0; visual < count; ++visual) {
    const int row = header ? header->logicalIndex(visual) : visual;
    if (row < 0 || view.isRowHidden(row)) continue;
    rows.push_back(row);
  }
  return rows;
}

void listRowCells(const QTableView& view, int row, std::vector<std::string>& cells) {
  const QAbstractItemModel* model = view.model();
  const int count = model ? model->columnCount() : 0;
  cells.resize(static_cast<std::size_t>(count));
  for (int c = 0; c < count; ++c)
    cells[static_cast<std::size_t>(c)] = model->index(row, c).data().toString().toStdString();
}

}  // namespace display
