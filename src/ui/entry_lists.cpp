#include "ui/entry_lists.h"

#include <QListWidget>
#include <QStringList>

namespace ui {

QListWidget* entryList(QWidget* parent, const char* objectName, QSize minimum) {
  auto* list = new QListWidget(parent);
  list->setObjectName(QString::fromLatin1(objectName));
  list->setSelectionMode(QAbstractItemView::ExtendedSelection);
  list->setSortingEnabled(true);
  list->setMinimumSize(minimum);
  return list;
}

void fillEntryList(QListWidget* list, const std::vector<std::string>& entries) {
  list->setSortingEnabled(false);
  list->clear();
  QStringList texts;
  texts.reserve(static_cast<qsizetype>(entries.size()));
  for (const std::string& entry : entries) texts.push_back(QString::fromStdString(entry));
  list->addItems(texts);
  list->sortItems();
  list->setSortingEnabled(true);
}

}  // namespace ui
