#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QListWidget>
#include <QScrollBar>

#include <memory>
#include <string>
#include <vector>

#include "qt_app.h"
#include "ui/entry_lists.h"

namespace {

QStringList shown(const QListWidget& list) {
  QStringList texts;
  for (int row = 0; row < list.count(); ++row) texts.push_back(list.item(row)->text());
  return texts;
}

// Names whose order depends on case, digits, punctuation and letters
// beyond ASCII: wherever the program sorts them itself, they must end up as
// the list's own sorting leaves them, or an entry added later would land
// out of place.
const std::vector<std::string> kNames{"bob",   "Bob",  "_svc",  "alice", "Zed",   "\xc3\xa9lise",
                                      "10x",   "9x",   "LAB\\b", "lab\\a", "Alice", "\xc3\x89mile",
                                      "bob2",  "b ob", "a-b",   "a.b"};

TEST(EntryLists, FillsAndMergesInTheOrderTheListItselfSorts) {
  testApp();
  QListWidget reference;
  reference.setSortingEnabled(true);
  for (const std::string& name : kNames) reference.addItem(QString::fromStdString(name));
  reference.sortItems();

  QWidget parent;
  QListWidget* filled = ui::entryList(&parent, "filled", QSize(100, 100));
  ui::fillEntryList(filled, kNames);
  EXPECT_EQ(shown(*filled), shown(reference));

  // A few are put in place one by one, many merged in; both as the list's
  // own sorted insertion places them.
  QStringList few{"Carol", "a.c", "\xc3\xa9"};
  QStringList many;
  for (int i = 0; i < 300; ++i) many.push_back(QStringLiteral("m%1").arg(300 - i));
  many.push_back(QStringLiteral("bob"));  // already there: a second entry, as addItem gives
  for (const QStringList& added : {few, many}) {
    ui::addEntries(filled, added);
    for (const QString& text : added) reference.addItem(text);
    EXPECT_EQ(shown(*filled), shown(reference));
  }
  EXPECT_TRUE(filled->isSortingEnabled());
}

TEST(EntryLists, RemovesRowsGivenInAnyOrderAndRuns) {
  testApp();
  QWidget parent;
  QListWidget* list = ui::entryList(&parent, "list", QSize(100, 100));
  ui::fillEntryList(list, {"a", "b", "c", "d", "e", "f", "g", "h"});
  ui::removeEntries(list, {6, 1, 2, 7, 4, 2});
  EXPECT_EQ(shown(*list), (QStringList{"a", "d", "f"}));
  ui::removeEntries(list, {});
  EXPECT_EQ(list->count(), 3);
}

// Rows share one size, so a long name in the middle of the list must still
// widen the list's contents: it can be scrolled into view, not cut short.
TEST(EntryLists, ALongNameAnywhereCanBeScrolledIntoView) {
  testApp();
  QWidget window;
  window.resize(220, 240);
  QListWidget* list = ui::entryList(&window, "list", QSize(200, 220));
  const std::string longName = "m" + std::string(60, 'W');
  ui::fillEntryList(list, {"amy", "bo", longName, "zed"});
  window.show();
  QApplication::processEvents();
  ASSERT_EQ(list->item(2)->text().toStdString(), longName);
  const int needed = list->fontMetrics().horizontalAdvance(list->item(2)->text());
  EXPECT_GE(list->viewport()->width() + list->horizontalScrollBar()->maximum(), needed);
  EXPECT_GE(list->visualItemRect(list->item(2)).width(), needed);

  // Once the long name is gone, the contents narrow again.
  ui::removeEntries(list, {2});
  QApplication::processEvents();
  EXPECT_EQ(list->horizontalScrollBar()->maximum(), 0);
}

}  // namespace
