// What the window does when a command changed what its displays show: a
// filter's new count, the settings sheet's OK.

#include "app/main_window.h"
#include "display/result_display.h"

namespace app {

using display::DisplayType;

void MainWindow::setCountText(DisplayType type, std::string count) {
  m_texts[type].count = std::move(count);
  if (type == currentDisplayType()) showStatusTexts(m_texts[type]);
}

void MainWindow::settingsApplied(const std::vector<DisplayType>& rebuilt) {
  for (DisplayType type : rebuilt) m_display->forgetColumns(type);
  displaySetUp();
}

}  // namespace app
