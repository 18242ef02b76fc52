// The main window's commands: its own ones in the command table, running
// a command through the table, and the context menus of the result controls.

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTableView>
#include <QTreeWidget>

#include "app/about_dialog.h"
#include "app/context_menus.h"
#include "app/feature_commands.h"
#include "app/main_window.h"
#include "app/user_legend_dialog.h"
#include "app/window_texts.h"
#include "session/display_traits.h"
#include "display/content_table_model.h"
#include "display/list_text.h"
#include "resources/strings.h"
#include "window/command_ids.h"

namespace app {

using display::DisplayTraits;
using display::DisplayType;
using namespace window;

namespace {

// The target of a Network tree pop-up: the selected item when it names a
// server ("\\\\NAME" with no further backslash).
std::string networkTarget(const QTreeWidget* tree) {
  const QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr;
  const std::string text = item ? item->text(0).toStdString() : std::string();
  if (text.starts_with("\\\\") && text.find('\\', 3) == std::string::npos) return text;
  return std::string(kPopupCannotAdd);
}

}  // namespace

namespace {

Placement menuItem(Menu menu, int section, int order, std::string text, int id) {
  return {.menu = MenuPlace{menu, section, order},
          .text = std::move(text),
          .status = res::str(unsigned(id))};
}

Placement withButton(Placement placement, int section, int order, int image,
                     bool checkable = false) {
  placement.tool = ToolPlace{section, order, image, checkable};
  return placement;
}

// The Window menu's item of a display: its tab name, by its first letter.
std::string windowItemText(std::string_view name) {
  std::string text(1, '&');
  text.append(name);
  return text;
}

// The Edit items that several folders serve, each for its own display
// (Properties on five displays, Add on three): the window owns their place
// and texts, the folders only their actions.
void placeSharedEditItems(CommandTable& table) {
  table.place(kIdPropertiesCyclic,
              withButton(menuItem(Menu::Edit, 0, 10, "&Properties (Cyclic)", kIdPropertiesCyclic),
                         1, 10, 12));
  table.place(kIdAdd, withButton(menuItem(Menu::Edit, 1, 10, "&Add user/group/quota", kIdAdd),
                                 1, 20, 5));
  table.place(kIdCopy,
              withButton(menuItem(Menu::Edit, 1, 20, "&Copy user/group", kIdCopy), 1, 30, 4));
  table.place(kIdDelete, withButton(menuItem(Menu::Edit, 1, 30, "&Delete user/group/quota",
                                             kIdDelete),
                                    1, 40, 3));
}

}  // namespace

void MainWindow::registerCommands(const WindowOptions& options) {
  auto own = [this](int id, std::function<void()> run, std::optional<Placement> placement = {}) {
    m_commands.add({.id = id,
                    .action = [run = std::move(run)](WindowContext&) { run(); },
                    .placement = std::move(placement)});
  };
  own(
      kIdExit,
      [this] {
        m_closing = true;
        close();
      },
      menuItem(Menu::File, 1, 10, "E&xit", kIdExit));
  // F5 is handled by its own shortcut, which is ignored while browsing; the
  // item itself shows the key.
  own(kIdBrowse, [this] { browse(); }, menuItem(Menu::Tools, 0, 10, "&Browse\tF5", kIdBrowse));
  own(kIdShowColumns, [this] { showColumns(); },
      menuItem(Menu::Tools, 1, 30, "S&how columns", kIdShowColumns));
  for (const DisplayTraits& t : display::allDisplayTraits())
    if (t.windowCommand != 0)
      own(t.windowCommand, [this, tab = t.tab] { selectTab(tab); },
          withButton(menuItem(Menu::Window, 0, 10 * (t.tab + 1), windowItemText(t.name),
                              t.windowCommand),
                     2, 10 * (t.tab + 1), t.toolbarImage, true));
  own(kIdSelectQuotasTab, [this] { selectTab(display::traitsOf(DisplayType::Quotas).tab); });
  own(kIdSelectUsersTab, [this] { selectTab(display::traitsOf(DisplayType::Users).tab); });
  own(kIdHelpContents, [this] { requestHelp(); },
      withButton(menuItem(Menu::Help, 0, 10, "&Contents", kIdHelpContents), 4, 10, 11));
  own(kIdAbout, [this] { openAbout(); }, menuItem(Menu::Help, 0, 20, "&About", kIdAbout));
  // The window adds this one after the Help menu's registered items itself:
  // its text is a string of its own and its letter depends on theirs.
  own(kIdAboutBox, [this] { openAbout(); });
  own(kIdContact, [this] { openContact(); },
      menuItem(Menu::Help, 0, 30, "How to contact &Brisle Software...", kIdContact));
  own(kIdUserLegend, [this] { openUserLegend(); });
  placeSharedEditItems(m_commands);
  registerFeatureCommands(m_commands);
  if (options.moreCommands) options.moreCommands(m_commands);
}

void MainWindow::command(int id) { m_commands.run(id, *this); }

std::string MainWindow::browseServer() const { return m_combo->currentText().toStdString(); }

void MainWindow::refresh() {
  if (!browsing()) browse();
}

void MainWindow::showContextMenu() { showContextMenu(currentDisplayType(), QCursor::pos()); }

Selection MainWindow::selection() const { return selectionOf(currentDisplayType()); }

Selection MainWindow::selectionOf(DisplayType type) const {
  Selection selection;
  selection.type = type;
  if (display::showsTree(selection.type, m_settings)) {
    const auto* tree =
        qobject_cast<const QTreeWidget*>(resultControl(display::traitsOf(selection.type).treeControl));
    if (const QTreeWidgetItem* item = tree ? tree->currentItem() : nullptr)
      selection.names.push_back(item->text(0).toStdString());
    return selection;
  }
  const auto* view =
      qobject_cast<const QTableView*>(resultControl(display::traitsOf(selection.type).listControl));
  if (!view || !view->model() || !view->selectionModel()) return selection;
  const QItemSelectionModel& selected = *view->selectionModel();
  const display::ContentTableModel* shown = display::contentModelOf(*view);
  for (int row : display::listRowsInViewOrder(*view)) {
    if (!selected.isRowSelected(row, {})) continue;
    selection.names.push_back(view->model()->index(row, 0).data().toString().toStdString());
    if (shown) shown->content().select(static_cast<std::size_t>(row), selection);
  }
  return selection;
}

void MainWindow::rowDoubleClicked(DisplayType type) {
  if (display::traitsOf(type).propertiesOnDoubleClick) command(kIdPropertiesCyclic);
}

std::unique_ptr<QMenu> MainWindow::makeContextMenu(DisplayType type) {
  const ContextMenu* layout = contextMenuOf(type);
  if (!layout) return nullptr;
  const Selection chosen = selectionOf(type);
  const bool any = !chosen.empty();
  switch (layout->target) {
    case PopupTarget::TopSelectedRow:
      // The topmost selected row, whatever order the rows were selected in.
      if (any) m_targetServer = "\\\\" + chosen.names.front();
      break;
    case PopupTarget::TreeNode:
      m_targetServer = networkTarget(treeView(type));
      break;
    case PopupTarget::None:
      break;
  }
  const bool serverTarget = layout->target == PopupTarget::TreeNode
                                ? m_targetServer != kPopupCannotAdd
                                : any;
  auto menu = std::make_unique<QMenu>(this);
  for (const PopupItem& item : layout->items) {
    if (item.id == 0) {
      menu->addSeparator();
      continue;
    }
    const std::string text =
        item.text ? std::string(item.text) : std::string(res::loadString(unsigned(item.id)));
    QAction* a = menu->addAction(QString::fromStdString(text));
    a->setData(item.id);
    switch (item.offer) {
      case Offer::Always: a->setEnabled(true); break;
      case Offer::WithSelection: a->setEnabled(any); break;
      case Offer::WithServerTarget: a->setEnabled(serverTarget); break;
      case Offer::Never: a->setEnabled(false); break;
    }
    const int id = item.id;
    connect(a, &QAction::triggered, this, [this, id] { command(id); });
  }
  return menu;
}

void MainWindow::showKeyboardContextMenu() {
  const DisplayType type = currentDisplayType();
  auto* view = qobject_cast<QAbstractItemView*>(resultControl(display::resultControlId(type, m_settings)));
  if (view == nullptr) return;
  // Below the current row, or the list's top corner when there is none.
  const QRect row = view->visualRect(view->currentIndex());
  const QPoint at = row.isValid() ? row.bottomLeft() : QPoint(0, 0);
  showContextMenu(type, view->viewport()->mapToGlobal(at));
}

void MainWindow::showContextMenu(DisplayType type, const QPoint& globalPos) {
  // Lists and trees without a pop-up of their own ignore the right button.
  if (std::unique_ptr<QMenu> menu = makeContextMenu(type)) menu->exec(globalPos);
}

void MainWindow::openAbout() {
  AboutDialog dialog(this);
  m_ports.dialogs->run(dialog);
}

void MainWindow::openContact() {
  ContactDialog dialog(this);
  m_ports.dialogs->run(dialog);
}

void MainWindow::openUserLegend() {
  UserLegendDialog dialog(this);
  m_ports.dialogs->run(dialog);
}

}  // namespace app
