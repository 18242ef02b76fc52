#include "display/full_text_tool_tips.h"

#include <QAbstractItemView>
#include <QHelpEvent>
#include <QToolTip>

namespace display {

bool FullTextToolTips::cutShort(const QStyleOptionViewItem& option,
                                const QModelIndex& index) const {
  return sizeHint(option, index).width() > option.rect.width();
}

bool FullTextToolTips::helpEvent(QHelpEvent* event, QAbstractItemView* view,
                                 const QStyleOptionViewItem& option, const QModelIndex& index) {
  if (event == nullptr || view == nullptr || event->type() != QEvent::ToolTip)
    return QStyledItemDelegate::helpEvent(event, view, option, index);
  const QString text = index.data(Qt::DisplayRole).toString();
  if (!text.isEmpty() && cutShort(option, index))
    QToolTip::showText(event->globalPos(), text, view->viewport(), option.rect);
  else
    QToolTip::hideText();
  return true;
}

}  // namespace display
