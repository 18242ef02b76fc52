#pragma once
// The membership and group lists of the properties dialogs: sorted lists of
// names, several selectable, that can hold thousands of entries.

#include <QSet>
#include <QSize>
#include <QString>
#include <QStringList>
#include <string>
#include <vector>

class QListWidget;
class QWidget;

namespace ui {

QListWidget* entryList(QWidget* parent, const char* objectName, QSize minimum);

// Fills `list` with `entries`, sorted: thousands of them get one sort after
// all are in, not one per entry.
void fillEntryList(QListWidget* list, const std::vector<std::string>& entries);

// The texts of a list's entries, for lookups: a list of thousands is read
// once, not searched once per entry looked up.
QSet<QString> entryTexts(const QListWidget* list);

// Adds `texts` to a list filled by fillEntryList, each in its sorted place.
// A few go in one by one (the list keeps its scroll position); many are
// merged with the list's entries and the list is filled again, since each
// insertion into a list of thousands moves all the entries after it.
void addEntries(QListWidget* list, const QStringList& texts);

// Removes the entries at `rows` (in any order), each run of neighbouring
// rows at once.
void removeEntries(QListWidget* list, std::vector<int> rows);

}  // namespace ui
