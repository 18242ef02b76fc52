#include "display/find_filter.h"

#include <QItemSelectionModel>
#include <QTableView>

#include "display/group_table_model.h"
#include "display/list_text.h"
#include "display/quota_table_model.h"
#include "display/server_table_model.h"
#include "display/text_table_model.h"
#include "display/user_table_model.h"

namespace display {

using dlgthreads::RecordMatcher;

namespace {

constexpr const char* kWatchesFill = "veltraneFilterWatchesFill";

template <class Model>
std::function<bool(int)> recordTest(const QAbstractItemModel& model, const RecordMatcher& matcher) {
  const auto* typed = qobject_cast<const Model*>(&model);
  if (typed == nullptr) return {};
  return [typed, &matcher](int row) {
    const auto* record = typed->recordAt(row);
    return record != nullptr && matcher.matches(*record);
  };
}

template <class Model>
std::optional<std::size_t> refilter(QAbstractItemModel& model, const RecordMatcher& matcher) {
  auto* typed = qobject_cast<Model*>(&model);
  if (typed == nullptr) return std::nullopt;
  return typed->refilter([&matcher](const auto& record) { return matcher.matches(record); });
}

}  // namespace

std::function<bool(int row)> rowMatcher(const QAbstractItemModel& model,
                                        const RecordMatcher& matcher) {
  if (auto test = recordTest<UserTableModel>(model, matcher)) return test;
  if (auto test = recordTest<GroupTableModel>(model, matcher)) return test;
  if (auto test = recordTest<ServerTableModel>(model, matcher)) return test;
  if (auto test = recordTest<QuotaTableModel>(model, matcher)) return test;
  // The Files lists keep their entries as the cells they show.
  if (const auto* text = qobject_cast<const TextTableModel*>(&model)) {
    return [text, &matcher](int row) {
      if (row < 0 || row >= text->rowCount()) return false;
      const std::vector<std::string>& cells = text->rows()[static_cast<std::size_t>(row)].cells;
      const int column = matcher.options().column;
      if (column >= 0)
        return matcher.textMatches(column < static_cast<int>(cells.size())
                                       ? std::string_view(cells[static_cast<std::size_t>(column)])
                                       : std::string_view());
      for (int c = 0; c < text->columnCount(); ++c)
        if (matcher.textMatches(c < static_cast<int>(cells.size())
                                    ? std::string_view(cells[static_cast<std::size_t>(c)])
                                    : std::string_view()))
          return true;
      return false;
    };
  }
  return {};
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
  QAbstractItemModel* model = view.model();
  if (model == nullptr) return std::nullopt;
  if (auto n = refilter<UserTableModel>(*model, matcher)) return n;
  if (auto n = refilter<GroupTableModel>(*model, matcher)) return n;
  if (auto n = refilter<ServerTableModel>(*model, matcher)) return n;
  if (auto n = refilter<QuotaTableModel>(*model, matcher)) return n;
  if (qobject_cast<TextTableModel*>(model) == nullptr) return std::nullopt;
  // A filter is over the rows of one fill: the rows of the next are all shown.
  if (!view.property(kWatchesFill).toBool()) {
    view.setProperty(kWatchesFill, true);
    QObject::connect(model, &QAbstractItemModel::modelReset, &view, [&view] {
      for (int row = 0; row < view.model()->rowCount(); ++row) view.setRowHidden(row, false);
    });
  }
  // Every row stays in the model, so the next filter tests them all again.
  const std::function<bool(int)> test = rowMatcher(*model, matcher);
  std::size_t kept = 0;
  for (int row = 0; row < model->rowCount(); ++row) {
    const bool keep = test(row);
    view.setRowHidden(row, !keep);
    if (keep) ++kept;
  }
  return kept;
}

std::vector<std::string> columnTitles(const QAbstractItemModel& model) {
  std::vector<std::string> titles;
  for (int c = 0; c < model.columnCount(); ++c)
    titles.push_back(model.headerData(c, Qt::Horizontal).toString().toStdString());
  return titles;
}

}  // namespace display
