#include "ui/entry_lists.h"

#include <QAbstractItemModel>
#include <QFontMetricsF>
#include <QHash>
#include <QListWidget>
#include <QStringList>
#include <QStyledItemDelegate>

#include <algorithm>
#include <functional>
#include <optional>

namespace ui {
namespace {

// Every entry is one line of text in the list's font, so every row is as
// high as any other: the list asks for one row's size (uniform item sizes)
// instead of laying out the text of each of 100,000 entries. That size is
// the widest entry's, so a long name still scrolls into view instead of
// being cut short. The widest entry is found by adding up character
// advances (cheap, and within a pixel or two of the laid-out width), then
// measured properly; it is remembered until the entries change.
class EntryDelegate final : public QStyledItemDelegate {
 public:
  explicit EntryDelegate(QListWidget* list) : QStyledItemDelegate(list) {
    const QAbstractItemModel* model = list->model();
    const auto forget = [this] { m_widestRow.reset(); };
    connect(model, &QAbstractItemModel::rowsInserted, this, forget);
    connect(model, &QAbstractItemModel::rowsRemoved, this, forget);
    connect(model, &QAbstractItemModel::rowsMoved, this, forget);
    connect(model, &QAbstractItemModel::modelReset, this, forget);
    connect(model, &QAbstractItemModel::layoutChanged, this, forget);
    connect(model, &QAbstractItemModel::dataChanged, this, forget);
  }

  QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const QAbstractItemModel* model = index.model();
    if (model == nullptr) return QStyledItemDelegate::sizeHint(option, index);
    if (!m_widestRow || m_font != option.font || *m_widestRow >= model->rowCount()) {
      m_font = option.font;
      m_widestRow = widestRow(*model, QFontMetricsF(option.font));
    }
    return QStyledItemDelegate::sizeHint(option, model->index(*m_widestRow, index.column()));
  }

 private:
  static int widestRow(const QAbstractItemModel& model, const QFontMetricsF& metrics) {
    QHash<QChar, qreal> advances;
    int widest = 0;
    qreal widestWidth = -1;
    for (int row = 0; row < model.rowCount(); ++row) {
      const QString text = model.index(row, 0).data(Qt::DisplayRole).toString();
      qreal width = 0;
      for (const QChar c : text) {
        auto known = advances.constFind(c);
        if (known == advances.cend()) known = advances.insert(c, metrics.horizontalAdvance(c));
        width += *known;
      }
      if (width > widestWidth) {
        widestWidth = width;
        widest = row;
      }
    }
    return widest;
  }

  mutable std::optional<int> m_widestRow;
  mutable QFont m_font;
};

}  // namespace

QListWidget* entryList(QWidget* parent, const char* objectName, QSize minimum) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(objectName));
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setSortingEnabled(true);
  list->setMinimumSize(minimum);
  list->setUniformItemSizes(true);
  list->setItemDelegate(new EntryDelegate(list));
  return list;
}

namespace {

// More entries than this are merged into a list by filling it again.
constexpr qsizetype kOneByOneAdditions = 256;

void fillSorted(QListWidget* list, QStringList texts) {
  list->setSortingEnabled(false);
  list->clear();
  // Sorted as plain strings before they go in: the list's own sort compares
  // item by item through QVariant copies, which a 100,000-entry group feels.
  // QString's < is the order the list keeps when sorting is enabled (case
  // sensitive, by UTF-16 code unit), so entries added later still land in
  // place.
  std::sort(texts.begin(), texts.end());
  list->addItems(texts);
  list->setSortingEnabled(true);
}

QStringList textsOf(const QListWidget* list) {
  QStringList texts;
  texts.reserve(list->count());
  for (int row = 0; row < list->count(); ++row) texts.push_back(list->item(row)->text());
  return texts;
}

}  // namespace

void fillEntryList(QListWidget* list, const std::vector<std::string>& entries) {
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(entries.size()));
  for (const std::string& entry : entries) texts.push_back(QString::fromStdString(entry));
  fillSorted(list, std::move(texts));
}

QSet<QString> entryTexts(const QListWidget* list) {
  QSet<QString> texts;
  texts.reserve(list->count());
  for (int row = 0; row < list->count(); ++row) texts.insert(list->item(row)->text());
  return texts;
}

void addEntries(QListWidget* list, const QStringList& texts) {
  if (texts.size() <= kOneByOneAdditions) {
    for (const QString& text : texts) list->addItem(text);
    return;
  }
  fillSorted(list, textsOf(list) + texts);
}

void removeEntries(QListWidget* list, std::vector<int> rows) {
  std::sort(rows.begin(), rows.end(), std::greater<>());
  rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
  QAbstractItemModel* model = list->model();
  for (std::size_t i = 0; i < rows.size();) {
    // rows[i] is the last row of a run; it runs down to rows[j - 1].
    std::size_t j = i + 1;
    while (j < rows.size() && rows[j] == rows[j - 1] - 1) ++j;
    model->removeRows(rows[j - 1], static_cast<int>(j - i));
    i = j;
  }
}

}  // namespace ui
