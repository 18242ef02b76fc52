#include "transfer/export_source.h"

#include <QTableView>
#include <QTreeWidget>

#include "display/display_traits.h"
#include "display/list_text.h"
#include "display/display_views.h"
#include "transfer/export_format.h"

namespace transfer {

using display::DisplayType;

ExportSource exportSourceOf(display::DisplayViews& host) {
  ExportSource source;
  source.displayType = exportedDisplay(host.currentDisplayType());
  source.list = host.listView(source.displayType);
  if (display::showsTree(source.displayType, host.settingsValues()))
    source.tree = host.treeView(source.displayType);
  return source;
}

bool holdsNothing(const ExportSource& source) {
  if (source.tree) return source.tree->topLevelItemCount() == 0;
  return !source.list || display::listRowsInViewOrder(*source.list).empty();
}

}  // namespace transfer
