#pragma once
// What an export reads: the control of the current display. Column titles
// and hidden columns come from the list's own header, and rows in the
// view's current order, so a sort or filter applied to the view is what
// gets written.

#include "display/display_type.h"

class QTableView;
class QTreeWidget;

namespace display {
class DisplayViews;
}

namespace transfer {

struct ExportSource {
  // The display as the export names it (its database table).
  display::DisplayType displayType = display::DisplayType::Users;
  // The list: the text export of a list display and every database export.
  const QTableView* list = nullptr;
  // The tree a text export writes instead of the list: Network, and Files
  // in its directory-access-rights form.
  const QTreeWidget* tree = nullptr;
};

// The source of the window's current display. Display types without an
// export of their own (Performance, no matching tab) export the Users list.
ExportSource exportSourceOf(display::DisplayViews& host);

// Whether the export would write no row (a list) or no node (a tree).
bool holdsNothing(const ExportSource& source);

}  // namespace transfer
