#include "display/dialog_owner.h"

#include <QTableView>
#include <QTreeWidget>

#include "display/display_views.h"

namespace display {

QWidget* dialogOwner(DisplayViews& views) {
  const DisplayType type = views.currentDisplayType();
  if (QWidget* list = views.listView(type)) return list->window();
  if (QWidget* tree = views.treeView(type)) return tree->window();
  return nullptr;
}

}  // namespace display
