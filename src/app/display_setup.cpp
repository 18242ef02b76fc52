// The display set-up: which result control shows, the toolbar and menu
// states of the display type, its columns, and its remembered texts.

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>

#include "app/main_window.h"
#include "app/window_texts.h"
#include "session/display_traits.h"
#include "display/result_display.h"
#include "window/command_ids.h"

namespace app {

using display::DisplayType;
using namespace window;

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
  // The display's button is pressed, the other displays' ones not.
  const int pressed = display::pressedWindowButton(type);
  for (QAction* button : m_toolButtons)
    if (button && button->isCheckable()) button->setChecked(button->data().toInt() == pressed);
  m_firstEditHeld = false;
  updateCommandStates();
  m_display->setUpColumns(type);
  // A tree of one form of a list display is the access tree of a user.
  const bool accessTree =
      display::traitsOf(type).treeForm >= 0 && display::showsTree(type, m_settings);
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
  const int shown = display::resultControlId(type, m_settings);
  for (auto& [id, control] : m_controls) control->setVisible(id == shown);
  // A hidden list that kept the focus would take the Menu key, Insert and
  // Delete, acting on a display the user no longer sees.
  if (auto it = m_controls.find(shown); it != m_controls.end()) it->second->setFocus();
}

void MainWindow::updateCommandStates() {
  for (auto& [id, action] : m_menuActions) action->setEnabled(m_commands.enabled(id, *this));
  for (QAction* button : m_toolButtons)
    if (button) button->setEnabled(m_commands.enabled(button->data().toInt(), *this));
  if (m_firstEditHeld && m_editMenu && !m_editMenu->actions().isEmpty())
    m_editMenu->actions().front()->setEnabled(false);
}

void MainWindow::showColumns() {
  const DisplayType type = currentDisplayType();
  m_display->requestColumnReset(type);
  if (display::traitsOf(type).columnReset == display::ColumnReset::ResetAndSetUp) displaySetUp();
}

}  // namespace app
