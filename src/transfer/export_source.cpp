#include "transfer/export_source.h"

#include <QTableView>
#include <QTreeWidget>

#include "display/display_views.h"
#include "display/list_text.h"
#include "session/column_sets.h"
#include "session/display_content.h"
#include "session/display_traits.h"
#include "transfer/export_format.h"

namespace transfer {

using display::DisplayType;

namespace {

class ViewSource final : public ListSource {
 public:
  explicit ViewSource(const QTableView& view)
      : m_view(view), m_columns(display::listColumns(view)),
        m_rows(display::listRowsInViewOrder(view)) {}
  std::vector<std::string> titles() const override { return m_columns.titles; }
  std::vector<bool> hidden() const override { return m_columns.hidden; }
  std::size_t rowCount() const override { return m_rows.size(); }
  void rowCells(std::size_t i, std::vector<std::string>& cells) const override {
    display::listRowCells(m_view, m_rows[i], cells);
  }

 private:
  const QTableView& m_view;
  display::ListColumns m_columns;
  std::vector<int> m_rows;
};

class ContentListSource final : public ListSource {
 public:
  ContentListSource(const session::DisplayContent& content, DisplayType type,
                    const settings::SettingsValues& settings)
      : m_content(content) {
    const auto columns = content.columns();
    const std::vector<display::ColumnLayout> layout = display::columnLayout(type, settings);
    for (std::size_t c = 0; c < columns.size(); ++c) {
      m_titles.emplace_back(columns[c].header);
      m_hidden.push_back(c < layout.size() && layout[c].hidden());
    }
  }
  std::vector<std::string> titles() const override { return m_titles; }
  std::vector<bool> hidden() const override { return m_hidden; }
  std::size_t rowCount() const override { return m_content.rowCount(); }
  void rowCells(std::size_t i, std::vector<std::string>& cells) const override {
    cells.resize(m_titles.size());
    for (std::size_t c = 0; c < cells.size(); ++c)
      cells[c] = m_content.cellText(i, static_cast<int>(c));
  }

 private:
  const session::DisplayContent& m_content;
  std::vector<std::string> m_titles;
  std::vector<bool> m_hidden;
};

}  // namespace

std::shared_ptr<const ListSource> viewSource(const QTableView& view) {
  return std::make_shared<ViewSource>(view);
}

std::vector<TreeText> treeTexts(const QTreeWidget& tree) {
  // Depth first: a node, its children, then its next sibling.
  std::vector<TreeText> lines;
  std::vector<std::pair<const QTreeWidgetItem*, int>> pending;
  for (int i = tree.topLevelItemCount() - 1; i >= 0; --i)
    pending.emplace_back(tree.topLevelItem(i), 0);
  while (!pending.empty()) {
    const auto [item, depth] = pending.back();
    pending.pop_back();
    lines.push_back({depth, item->text(0).toStdString()});
    for (int i = item->childCount() - 1; i >= 0; --i)
      pending.emplace_back(item->child(i), depth + 1);
  }
  return lines;
}

ExportSource exportSourceOf(display::DisplayViews& host) {
  ExportSource source;
  source.displayType = exportedDisplay(host.currentDisplayType());
  if (const QTableView* list = host.listView(source.displayType)) source.list = viewSource(*list);
  if (display::showsTree(source.displayType, host.settingsValues()))
    if (const QTreeWidget* tree = host.treeView(source.displayType)) source.tree = treeTexts(*tree);
  return source;
}

ExportSource contentSource(const session::DisplayContent& content, DisplayType type,
                           const settings::SettingsValues& settings) {
  ExportSource source;
  source.displayType = type;
  if (display::traitsOf(type).listControl != 0)
    source.list = std::make_shared<ContentListSource>(content, type, settings);
  if (const session::DisplayTree* tree = content.tree()) {
    std::vector<TreeText> lines;
    for (const session::TreeLine& line : session::depthFirst(*tree))
      lines.push_back({line.depth, *line.text});
    source.tree = std::move(lines);
  }
  return source;
}

bool holdsNothing(const ExportSource& source) {
  // A tree's first node is its root, there whatever the walk found.
  if (source.tree) return source.tree->size() <= 1;
  return !source.list || source.list->rowCount() == 0;
}

}  // namespace transfer
