#include "transfer/export_source.h"

#include "display/column_sets.h"
#include "display/fill_host.h"
#include "transfer/export_format.h"

namespace transfer {

using display::DisplayType;

ExportSource exportSourceOf(display::FillHost& host) {
  ExportSource source;
  source.displayType = exportedDisplay(host.currentDisplayType());
  switch (source.displayType) {
    case DisplayType::Network:
      source.tree = host.treeView(DisplayType::Network);
      break;
    case DisplayType::Files:
      source.list = host.listView(DisplayType::Files);
      if (host.settingsValues().f_display_type ==
          static_cast<settings::Word>(display::FilesForm::AccessTree))
        source.tree = host.treeView(DisplayType::Files);
      break;
    default:
      source.list = host.listView(source.displayType);
      break;
  }
  return source;
}

}  // namespace transfer
