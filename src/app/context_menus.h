#pragma once
// The pop-up menus of the result controls, as data: which commands each
// offers, in order, and when each is greyed. A pop-up greys by its own
// selection rather than by the menus' rules: it offers commands on the rows
// it was opened over (Add Quota, say, which the Edit menu greys on that
// display). Every item runs through the command table.

#include <span>

#include "window/display_type.h"

namespace app {

enum class Offer {
  Always,
  WithSelection,     // greyed without a selected row
  WithServerTarget,  // greyed unless the pop-up's target names a server
  Never,
};

// Where a pop-up takes the server its server-list commands act on.
enum class PopupTarget { None, TopSelectedRow, TreeNode };

struct PopupItem {
  int id = 0;                  // 0: a separator
  const char* text = nullptr;  // nullptr: the string table's text of the id
  Offer offer = Offer::Always;
};

struct ContextMenu {
  display::DisplayType type;
  PopupTarget target;
  std::span<const PopupItem> items;
};

// The pop-up of a display's result control, or nullptr for a control
// without one.
const ContextMenu* contextMenuOf(display::DisplayType type);

}  // namespace app
