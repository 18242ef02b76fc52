#pragma once
// The membership and group lists of the properties dialogs: sorted lists of
// names, several selectable, that can hold thousands of entries.

#include <QSize>
#include <string>
#include <vector>

class QListWidget;
class QWidget;

namespace ui {

QListWidget* entryList(QWidget* parent, const char* objectName, QSize minimum);

// Fills `list` with `entries`, sorted: thousands of them get one sort after
// all are in, not one per entry.
void fillEntryList(QListWidget* list, const std::vector<std::string>& entries);

}  // namespace ui
