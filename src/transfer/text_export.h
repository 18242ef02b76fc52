#pragma once
// The text export files: a list as separated lines, a tree as indented
// lines. A file is written whole to a temporary file beside it and only
// then put in place, so a failed export leaves any earlier file untouched;
// a FIFO, a terminal or a device is written in place (platform/
// file_replacement.h).

#include <string>

#include "transfer/export_result.h"
#include "transfer/export_source.h"
#include "transfer/text_lines.h"


namespace transfer {

// Header line, then one line per row in the view's order; hidden columns
// left out; `separator` between cells, each cell quoted as `quoting` says.
ExportResult writeListText(const ListSource& list, const std::string& path, char separator,
                           CellQuoting quoting);

// One line per node, depth first, one tab per level.
ExportResult writeTreeText(const std::vector<TreeText>& tree, const std::string& path);

}  // namespace transfer
