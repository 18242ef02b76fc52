#pragma once
// The item delegate of the result lists: a cell whose text does not fit its
// column shows the whole text as its tool tip; a cell that fits shows none.

#include <QStyledItemDelegate>

namespace display {

class FullTextToolTips final : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  // True when the cell's text (with its icon) is wider than its column.
  bool cutShort(const QStyleOptionViewItem& option, const QModelIndex& index) const;

  bool helpEvent(QHelpEvent* event, QAbstractItemView* view, const QStyleOptionViewItem& option,
                 const QModelIndex& index) override;
};

}  // namespace display
