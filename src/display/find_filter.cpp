#include "display/find_filter.h"

#include <QItemSelectionModel>
#include <QTableView>

#include "display/content_table_model.h"
#include "display/list_text.h"

namespace display {

using dlgthreads::RecordMatcher;

std::function<bool(int row)> rowMatcher(const QAbstractItemModel& model,
                                        const RecordMatcher& matcher) {
  const auto* shown = qobject_cast<const ContentTableModel*>(&model);
  if (shown == nullptr || !shown->content().searchable()) return {};
  const session::DisplayContent& content = shown->content();
  return [&content, &matcher](int row) {
    return row >= 0 && content.rowMatches(static_cast<std::size_t>(row), matcher);
  };
}

std::size_t findStart(const QTableView& view, bool fromTop) {
  if (fromTop || view.selectionModel() == nullptr) return 0;
  const std::vector<int> order = listRowsInViewOrder(view);
  for (std::size_t p = 0; p < order.size(); ++p)
    if (view.selectionModel()->isRowSelected(order[p], {})) return p + 1;
  return 0;
}

std::optional<int> findRow(const QTableView& view, const RecordMatcher& matcher,
                           std::size_t start) {
  if (view.model() == nullptr) return std::nullopt;
  const std::function<bool(int)> test = rowMatcher(*view.model(), matcher);
  if (!test) return std::nullopt;
  const std::vector<int> order = listRowsInViewOrder(view);
  for (std::size_t p = start; p < order.size(); ++p)
    if (test(order[p])) return order[p];
  return std::nullopt;
}

void selectRow(QTableView& view, int row) {
  const QModelIndex index = view.model()->index(row, 0);
  view.clearSelection();
  view.scrollTo(index);
  view.selectionModel()->setCurrentIndex(
      index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
  view.setFocus();
}

std::optional<std::size_t> filterList(QTableView& view, const RecordMatcher& matcher) {
  ContentTableModel* model = contentModelOf(view);
  if (model == nullptr || !model->content().searchable()) return std::nullopt;
  const std::optional<std::size_t> kept = model->content().filter(matcher);
  if (kept) model->reset();
  return kept;
}

std::vector<std::string> columnTitles(const QAbstractItemModel& model) {
  std::vector<std::string> titles;
  for (int c = 0; c < model.columnCount(); ++c)
    titles.push_back(model.headerData(c, Qt::Horizontal).toString().toStdString());
  return titles;
}

}  // namespace display
