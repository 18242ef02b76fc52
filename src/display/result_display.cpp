#include "display/result_display.h"

#include <QHeaderView>
#include <QTableView>
#include <QTreeWidget>

#include <algorithm>
#include <string>
#include <string_view>
#include <utility>

#include "display/content_table_model.h"
#include "display/full_text_tool_tips.h"
#include "platform/message_text.h"
#include "resources/strings.h"
#include "session/display_traits.h"
#include "session/fill_messages.h"
#include "ui/messages.h"

namespace display {

ResultDisplay::ResultDisplay(FillHost& host, IconSet icons)
    : m_host(host), m_icons(std::move(icons)) {}

ResultDisplay::~ResultDisplay() {
  for (const QMetaObject::Connection& c : m_headerConnections) QObject::disconnect(c);
}

session::DisplayContent& ResultDisplay::content(DisplayType type) {
  std::shared_ptr<session::DisplayContent>& slot = m_contents[type];
  if (!slot) slot = session::makeContent(type);
  return *slot;
}

ContentTableModel* ResultDisplay::model(DisplayType type) {
  QTableView* view = m_host.listView(type);
  if (view == nullptr) return nullptr;
  if (ContentTableModel* shown = contentModelOf(*view);
      shown != nullptr && &shown->content() == &content(type))
    return shown;
  auto* made = new ContentTableModel(m_contents[type], m_icons, view);
  view->setModel(made);
  if (!qobject_cast<FullTextToolTips*>(view->itemDelegate()))
    view->setItemDelegate(new FullTextToolTips(view));
  watchHeaderClicks(type);
  return made;
}

void ResultDisplay::watchHeaderClicks(DisplayType type) {
  QTableView* view = m_host.listView(type);
  if (view == nullptr || m_sortClicks.contains(type)) return;
  m_sortClicks.emplace(type, sorting::ClickState{});
  // The list sorts on the program's own comparisons; the view's sorting
  // would compare the shown texts instead.
  view->setSortingEnabled(false);
  view->horizontalHeader()->setSectionsClickable(true);
  m_headerConnections.push_back(QObject::connect(
      view->horizontalHeader(), &QHeaderView::sectionClicked, view,
      [this, type](int column) { sortByColumn(type, column); }));
}

void ResultDisplay::sortByColumn(DisplayType type, int column) {
  const auto state = m_sortClicks.find(type);
  if (state == m_sortClicks.end()) return;
  const sorting::Routine routine = state->second.click(column);
  if (content(type).sortBy(column, routine))
    if (ContentTableModel* shown = model(type)) shown->reset();
}

void ResultDisplay::forgetColumns(DisplayType type) {
  m_setUp.erase(type);
  // Most lists keep their records: their columns are fixed and only shown or
  // hidden. Rows gathered under another form of the list go.
  content(type).settingsChanged();
  if (ContentTableModel* shown = model(type)) shown->reset();
}

bool ResultDisplay::columnsSetUp(DisplayType type) const { return m_setUp.contains(type); }

void ResultDisplay::requestColumnReset(DisplayType type) {
  switch (traitsOf(type).columnReset) {
    case ColumnReset::ResetAndSetUp: m_setUp.erase(type); break;
    case ColumnReset::RecordOnly: break;
    case ColumnReset::None: return;
  }
  m_resetRequested = true;
}

void ResultDisplay::setUpColumns(DisplayType type) {
  const bool reset = std::exchange(m_resetRequested, false);
  if (!traitsOf(type).columnsRemembered) return;
  // A list whose columns follow the settings (the two Files list forms)
  // takes them now; showing one form's rows under the other's headers would
  // mislabel every cell, so new columns are set up again.
  session::DisplayContent& shown = content(type);
  shown.prepare(m_host.settingsValues());
  if (showsTree(type, m_host.settingsValues())) return;
  if (const auto was = m_columnsSetUp.find(type);
      was != m_columnsSetUp.end() && was->second != shown.columns().data())
    m_setUp.erase(type);
  // Columns are never inserted twice here: the models carry a fixed column
  // set, so a first set-up and a reset both just apply the settings.
  if (m_setUp.contains(type) && !reset) return;
  m_setUp.insert(type);
  applyColumns(type);
}

void ResultDisplay::applyColumns(DisplayType type) {
  QTableView* view = m_host.listView(type);
  ContentTableModel* shown = model(type);
  if (view == nullptr || shown == nullptr) return;
  shown->reset();
  m_columnsSetUp[type] = shown->content().columns().data();
  QHeaderView* header = view->horizontalHeader();
  const std::vector<ColumnLayout> layout = columnLayout(type, m_host.settingsValues());
  const int charWidth = view->fontMetrics().averageCharWidth();
  for (int i = 0; i < static_cast<int>(layout.size()); ++i) {
    const ColumnLayout& column = layout[static_cast<std::size_t>(i)];
    if (column.hidden()) {
      header->hideSection(i);
    } else {
      header->showSection(i);
      header->resizeSection(i, scaledColumnWidth(column.width, charWidth));
    }
  }
}

void ResultDisplay::showTree(DisplayType type) {
  QTreeWidget* tree = m_host.treeView(type);
  const session::DisplayTree* nodes = content(type).tree();
  if (tree == nullptr || nodes == nullptr) return;
  tree->setUpdatesEnabled(false);
  tree->clear();
  std::vector<QTreeWidgetItem*> items;
  items.reserve(nodes->nodes.size());
  for (const session::TreeNode& node : nodes->nodes) {
    const QStringList text{QString::fromStdString(node.text)};
    auto* item = node.parent >= 0
                     ? new QTreeWidgetItem(items[static_cast<std::size_t>(node.parent)], text)
                     : new QTreeWidgetItem(tree, text);
    if (node.image) item->setIcon(0, m_icons.icon(*node.image));
    items.push_back(item);
  }
  for (std::size_t i = 0; i < items.size(); ++i)
    if (nodes->nodes[i].expanded) items[i]->setExpanded(true);
  tree->setUpdatesEnabled(true);
}

void ResultDisplay::fill(dlgthreads::WorkerBlock& block) {
  const DisplayTraits* traits = traitsOfWork(block.kind);
  if (traits == nullptr) {
    showMessage(kUnknownThreadText);
    finishFill(std::nullopt, {});
    return;
  }
  const DisplayType type = traits->type;
  session::DisplayContent& shown = content(type);
  const std::vector<ColumnSpec>::size_type columnsBefore = shown.columns().size();
  const ColumnSpec* columnsWere = shown.columns().data();
  session::FillOutcome outcome = shown.adopt(block, m_host.settingsValues());
  if (outcome.filled) {
    if (shown.tree() != nullptr) {
      showTree(type);
    } else if (ContentTableModel* list = model(type)) {
      list->reset();
      // A list whose columns came with the rows (a Files form) is set up
      // for them again.
      if (shown.columns().data() != columnsWere || shown.columns().size() != columnsBefore) {
        m_setUp.erase(type);
        setUpColumns(type);
      }
    }
  }
  for (const std::string& message : outcome.messages) showMessage(message);
  if (!outcome.filled) {
    finishFill(std::nullopt, {});
  } else {
    // The domain goes in front of the display's own fresh server text only,
    // so a display whose texts were not refreshed never collects a second
    // prefix. The worker read it: this thread must not wait for a server.
    finishFill(type, {block.domainName + block.state.selectedServer, std::move(outcome.count)});
  }
  // After the end of the busy state, which puts "Ready" there.
  if (!block.refusal.empty()) m_host.showStatusNote(platform::oneLine(block.refusal));
}

void ResultDisplay::finishFill(std::optional<DisplayType> filled, DisplayTexts texts) {
  m_host.endBusy();
  if (!m_host.enableFirstEditItem()) showMessage(kEditMenuMissingText);
  if (filled) m_host.setDisplayTexts(*filled, std::move(texts));
  m_host.showStatusTexts(m_host.displayTexts(m_host.currentDisplayType()));
}

void ResultDisplay::showMessage(std::string_view text) {
  m_host.messages().ok(std::string(text), res::programTitle());
}

}  // namespace display
