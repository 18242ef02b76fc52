// The main window's commands: menu, toolbar, keys, double clicks and the
// context menus of the result controls. Commands whose dialogs are not
// built yet do nothing.

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
#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/user_legend_dialog.h"
#include "app/window_texts.h"
#include "display/clipboard_copy.h"
#include "display/print_display.h"
#include "resources/strings.h"
#include "transfer/export_display.h"

namespace app {

using display::DisplayType;

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

void MainWindow::command(int id) {
  switch (id) {
    case kIdExit:
      m_closing = true;
      close();
      return;
    case kIdBrowse:
      browse();
      return;
    case kIdShowColumns:
      showColumns();
      return;
    case kIdWindowFiles: selectTab(0); return;
    case kIdWindowGroups: selectTab(1); return;
    case kIdWindowNetwork: selectTab(2); return;
    case kIdWindowQuotas:
    case kIdSelectQuotasTab: selectTab(3); return;
    case kIdWindowServers: selectTab(4); return;
    case kIdWindowUsers:
    case kIdSelectUsersTab: selectTab(5); return;
    case kIdHelpContents:
      requestHelp();
      return;
    case kIdAbout:
    case kIdAboutBox:
      openAbout();
      return;
    case kIdContact:
      openContact();
      return;
    case kIdUserLegend:
      openUserLegend();
      return;
    case kIdPropertiesCyclic:
      propertiesCyclic();
      return;
    case kIdCopyToClipboard:
      display::copyToClipboard(*this);
      return;
    case kIdExport:
      transfer::exportCommand(*this, *m_ports.files);
      return;
    case kIdPrint: {
      display::QtPrintChooser chooser(this);
      display::printDisplay(*this, chooser);
      return;
    }
    default:
      // Import, the edit commands, find, filter, the server list and the
      // pop-up target's commands, shares, unhide, account policies and
      // settings open their dialogs once those exist.
      return;
  }
}

void MainWindow::propertiesCyclic() {
  switch (currentDisplayType()) {
    case DisplayType::Network:
      showContextMenu(DisplayType::Network, QCursor::pos());
      return;
    case DisplayType::Servers: {
      // Each selected server is opened as "\\\\" + its name.
      return;
    }
    default:
      return;
  }
}

void MainWindow::rowDoubleClicked(DisplayType type) {
  switch (type) {
    case DisplayType::Users:
    case DisplayType::Groups:
    case DisplayType::Servers:
    case DisplayType::Quotas:
      command(kIdPropertiesCyclic);
      return;
    default:
      return;
  }
}

int MainWindow::selectedRows(DisplayType type) const {
  auto* view = qobject_cast<QTableView*>(resultControl(resultControlId(type, m_settings)));
  if (!view || !view->selectionModel()) return 0;
  return static_cast<int>(view->selectionModel()->selectedRows().size());
}

void MainWindow::updateCombinedItem(int selectedUsers) {
  if (QAction* combined = menuAction(kIdPropertiesCombined)) {
    combined->setEnabled(selectedUsers >= 2);
  } else {
    showMessage(kMsgEditMenuMissing);
  }
}

std::unique_ptr<QMenu> MainWindow::makeContextMenu(DisplayType type) {
  auto menu = std::make_unique<QMenu>(this);
  auto add = [&](const char* text, int id, bool enabled = true) {
    QAction* a = menu->addAction(QString::fromUtf8(text));
    a->setData(id);
    a->setEnabled(enabled);
    connect(a, &QAction::triggered, this, [this, id] { command(id); });
    return a;
  };
  const int selected = selectedRows(type);
  switch (type) {
    case DisplayType::Users:
    case DisplayType::Groups: {
      const bool any = selected > 0;
      add("&Properties (Cyclic)", kIdPropertiesCyclic, any);
      add("P&roperties (Combined)", kIdPropertiesCombined, any && type == DisplayType::Users);
      menu->addSeparator();
      add("&Add", kIdAdd);
      add("&Copy", kIdCopy, any);
      add("&Delete", kIdDelete, any);
      menu->addSeparator();
      add("Account &Policies", kIdAccountPolicies);
      add("&Settings", kIdSettings);
      if (type == DisplayType::Users) {
        menu->addSeparator();
        add("User icon &Legend", kIdUserLegend);
      }
      break;
    }
    case DisplayType::Servers: {
      const bool any = selected > 0;
      if (any) {
        // The topmost selected row, whatever order the rows were selected in.
        auto* view = qobject_cast<QTableView*>(resultControl(kCtlServersList));
        QModelIndex top;
        for (const QModelIndex& row : view->selectionModel()->selectedRows())
          if (!top.isValid() || row.row() < top.row()) top = row;
        m_targetServer = "\\\\" + top.data().toString().toStdString();
      }
      add(res::loadString(kIdPopupAddToServerList).data(), kIdPopupAddToServerList, any);
      add("&Properties", kIdPopupProperties, any);
      add("&Remove server from list", kIdRemoveServer);
      menu->addSeparator();
      add("&Settings", kIdSettings);
      break;
    }
    case DisplayType::Quotas: {
      const bool any = selected > 0;
      add("&Add Quota", kIdAdd);
      add("&Delete Quota", kIdDelete, any);
      add("&Properties", kIdPropertiesCyclic, any);
      menu->addSeparator();
      add("&Settings", kIdSettings);
      break;
    }
    case DisplayType::Files:
      add("&Settings", kIdSettings);
      break;
    case DisplayType::Network: {
      m_targetServer = networkTarget(treeView(DisplayType::Network));
      const bool server = m_targetServer != kPopupCannotAdd;
      add(res::loadString(kIdPopupAddToServerList).data(), kIdPopupAddToServerList, server);
      add("&Properties", kIdPopupProperties, server);
      add("&Remove server from list", kIdRemoveServer);
      menu->addSeparator();
      add("&Settings", kIdSettings);
      break;
    }
    default:
      return nullptr;
  }
  return menu;
}

void MainWindow::showContextMenu(DisplayType type, const QPoint& globalPos) {
  std::unique_ptr<QMenu> menu = makeContextMenu(type);
  if (!menu) {
    if (type == DisplayType::Licenses || type == DisplayType::Trusts ||
        type == DisplayType::Performance)
      return;  // these controls have no menu
    showMessage(kMsgNoPopup);
    return;
  }
  menu->exec(globalPos);
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

void MainWindow::runAutoCommand(const AutoCommand& command) {
  if (command.displayType == DisplayType::None) return;
  m_autoCommand = command;
  showMinimized();
  m_combo->clear();
  m_combo->addItem(QString::fromStdString(command.server).toUpper());
  m_combo->setCurrentIndex(0);
  int tab = -1;
  for (int i = 0; i < m_tabs->count(); ++i)
    if (display::displayTypeFromTabText(m_tabs->tabText(i).toStdString()) == command.displayType)
      tab = i;
  if (command.displayType == DisplayType::Files) {
    m_settings.f_display_type = command.filesDisplayType;
    if (command.filesDisplayType == 1)
      m_userNameEdit->setText(QString::fromStdString(command.startDirectory));
    else
      m_settings.f_root_path = command.startDirectory;
  }
  if (tab >= 0) selectTab(tab);
  browse();
  // A display without a worker of its own ends its browse at once (or never
  // starts one): its export follows straight away.
  if (!m_browsing) queueAutoCommandFinish();
}

void MainWindow::queueAutoCommandFinish() {
  if (!m_autoCommand || m_autoResult || m_autoFinishQueued) return;
  m_autoFinishQueued = true;
  // After the fill that ended the browse has returned.
  QMetaObject::invokeMethod(this, [this] { finishAutoCommand(); }, Qt::QueuedConnection);
}

void MainWindow::finishAutoCommand() {
  m_autoFinishQueued = false;
  if (!m_autoCommand || m_autoResult) return;
  const std::string& file = m_autoCommand->exportFile;
  const transfer::AutomaticExportOutcome outcome = transfer::automaticExport(*this, file);
  AutoCommandResult result;
  result.ok = outcome.result.ok();
  if (!result.ok) {
    switch (outcome.result.error) {
      case transfer::ExportError::NotSupported:
        result.failure = "the " + std::string(display::tabText(currentDisplayType())) +
                         " display cannot be exported in the chosen format";
        break;
      case transfer::ExportError::CannotCreateFile:
        result.failure = "could not create " + file;
        break;
      default:
        result.failure = "could not write " + file;
        break;
    }
    if (!outcome.result.detail.empty()) result.failure += " (" + outcome.result.detail + ")";
  }
  m_autoResult = result;
  // An unattended run always ends here, even where an interactive export
  // would leave the window open: nobody is there to close it.
  m_closing = true;
  close();
}

}  // namespace app
