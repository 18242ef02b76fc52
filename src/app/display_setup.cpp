// The display set-up: which result control shows, the toolbar and menu
// states of the display type, its columns, and its remembered texts.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>

#include "app/command_ids.h"
#include "app/main_window.h"
#include "app/window_texts.h"
#include "display/result_display.h"

namespace app {

using display::DisplayType;

DisplayType MainWindow::currentDisplayType() const {
  const int index = m_tabs->currentIndex();
  if (index < 0) return DisplayType::None;
  return display::displayTypeFromTabText(m_tabs->tabText(index).toStdString());
}

void MainWindow::selectTab(int index) {
  if (m_tabs->currentIndex() == index)
    displaySetUp();
  else
    m_tabs->setCurrentIndex(index);  // the tab change runs the set-up
}

void MainWindow::displaySetUp() {
  const DisplayType type = currentDisplayType();
  if (type == DisplayType::None) {
    showMessage(kMsgIllegalTab);
    return;
  }
  showResultControl(type);
  setToolbarStates(type);
  setMenuStates(type);
  m_display->setUpColumns(type);
  const bool accessTree = type == DisplayType::Files && m_settings.f_display_type == 1;
  m_userNameEdit->setVisible(accessTree);
  m_userNameLabel->setVisible(accessTree);

  const display::DisplayTexts texts = displayTexts(type);
  if (const auto from = texts.server.find("\\\\"); from != std::string::npos) {
    const int entry = m_combo->findText(QString::fromStdString(texts.server.substr(from)),
                                        Qt::MatchFixedString);
    if (entry >= 0) m_combo->setCurrentIndex(entry);
  }
  showStatusTexts(texts);
}

void MainWindow::showResultControl(DisplayType type) {
  const int shown = resultControlId(type, m_settings);
  for (auto& [id, control] : m_controls) control->setVisible(id == shown);
}

void MainWindow::setToolbarStates(DisplayType type) {
  const int pressed = displayButtonIndex(type);
  for (int i = 10; i <= 15; ++i)
    if (m_toolButtons[i]) m_toolButtons[i]->setChecked(i == pressed);
  const bool editable = type == DisplayType::Groups || type == DisplayType::Users;
  for (int i = 5; i <= 8; ++i)
    if (m_toolButtons[i]) m_toolButtons[i]->setEnabled(editable);
  if (type == DisplayType::Servers && m_toolButtons[5]) m_toolButtons[5]->setEnabled(true);
}

void MainWindow::setMenuStates(DisplayType type) {
  auto set = [this](int id, bool enabled) {
    if (QAction* a = menuAction(id)) a->setEnabled(enabled);
  };
  switch (type) {
    case DisplayType::Groups:
    case DisplayType::Users:
      set(kIdPropertiesCyclic, true);
      set(kIdPropertiesCombined, false);
      set(kIdAdd, true);
      set(kIdCopy, true);
      set(kIdDelete, true);
      break;
    case DisplayType::Network:
      // Properties (Combined) keeps its state.
      set(kIdPropertiesCyclic, false);
      set(kIdAdd, false);
      set(kIdCopy, false);
      set(kIdDelete, false);
      break;
    case DisplayType::Servers:
      set(kIdPropertiesCyclic, true);
      set(kIdPropertiesCombined, false);
      set(kIdAdd, false);
      set(kIdCopy, false);
      set(kIdDelete, false);
      break;
    default:  // Files, Quotas, Licenses, Trusts, Performance
      for (int id : {kIdPropertiesCyclic, kIdPropertiesCombined, kIdAdd, kIdCopy, kIdDelete})
        set(id, false);
      break;
  }
  const bool exportable = type != DisplayType::Network;
  set(kIdExport, exportable);
  set(kIdCopyToClipboard, exportable);
}

void MainWindow::showColumns() {
  const DisplayType type = currentDisplayType();
  switch (type) {
    case DisplayType::Groups:
    case DisplayType::Servers:
    case DisplayType::Users:
      m_display->requestColumnReset(type);
      displaySetUp();
      break;
    case DisplayType::Files:
      m_display->requestColumnReset(type);
      break;
    default:
      break;
  }
}

}  // namespace app
