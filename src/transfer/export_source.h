#pragma once
// What an export reads, as plain rows and lines: a list's column titles,
// which columns are hidden, and its rows in the order they are written; or
// a tree's nodes, depth first. The window's export reads its views as shown
// (a sort, a filter or a column the user narrowed to nothing is followed);
// the unattended run reads the display's content with the columns the
// settings show.

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "settings/settings_values.h"
#include "window/display_type.h"

class QTableView;
class QTreeWidget;

namespace display {
class DisplayViews;
}
namespace session {
class DisplayContent;
}

namespace transfer {

class ListSource {
 public:
  virtual ~ListSource() = default;
  virtual std::vector<std::string> titles() const = 0;
  // Per column: hidden (a hidden section, or width 0).
  virtual std::vector<bool> hidden() const = 0;
  virtual std::size_t rowCount() const = 0;
  // The texts of every column of the i-th row written (hidden ones too),
  // into `cells` (reused between rows).
  virtual void rowCells(std::size_t i, std::vector<std::string>& cells) const = 0;
};

struct TreeText {
  int depth = 0;
  std::string text;
};

struct ExportSource {
  // The display as the export names it (its database table).
  display::DisplayType displayType = display::DisplayType::Users;
  // The list: the text export of a list display and every database export.
  std::shared_ptr<const ListSource> list;
  // The tree a text export writes instead of the list: Network, and Files
  // in its directory-access-rights form.
  std::optional<std::vector<TreeText>> tree;
};

// The source of the window's current display. Display types without an
// export of their own (Performance, no matching tab) export the Users list.
ExportSource exportSourceOf(display::DisplayViews& host);

// A list view as shown, and a tree widget's nodes.
std::shared_ptr<const ListSource> viewSource(const QTableView& view);
std::vector<TreeText> treeTexts(const QTreeWidget& tree);

// A display's content with the columns `settings` show; `type` is the
// display the content belongs to.
ExportSource contentSource(const session::DisplayContent& content, display::DisplayType type,
                           const settings::SettingsValues& settings);

// Whether the export would write no row (a list) or no node below the
// root (a tree).
bool holdsNothing(const ExportSource& source);

}  // namespace transfer
