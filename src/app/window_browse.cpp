// The window's side of browsing: what a browse is of, and how the busy and
// idle states, the progress and a stop look. The browse itself belongs to
// the BrowseController.

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include "app/browse_button.h"
#include "app/main_window.h"
#include "app/window_texts.h"
#include "display/result_display.h"

namespace app {

void MainWindow::browse() {
  m_browse.browse({currentDisplayType(), browseServer(), m_settings,
                   m_userNameEdit->text().toStdString()});
}

void MainWindow::showBusy(std::string_view name) {
  m_animation.start();
  m_statusNote.clear();
  setStatusText(0, std::string(kTextBrowsing) + std::string(name));
  m_firstEditHeld = true;
  updateCommandStates();
  if (!m_cursorSaved) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_cursorSaved = true;
  }
}

void MainWindow::showIdle() {
  m_animation.stop();
  m_browseButton->setFrame(0);
  setStatusText(0, kTextReady);
  showIdentity();
  if (m_cursorSaved) {
    QApplication::restoreOverrideCursor();
    m_cursorSaved = false;
  }
}

void MainWindow::showStatusNote(std::string_view note) {
  m_statusNote = note;
  setStatusText(0, note);
}

void MainWindow::showWorkerStatus(const std::string& text) { setStatusText(2, text); }

void MainWindow::showStopped() {
  const display::DisplayTexts texts{std::string(kTextUserTerminated),
                                    std::string(kTextTerminatedCount)};
  setDisplayTexts(currentDisplayType(), texts);
  showStatusTexts(texts);
}

void MainWindow::fill(dlgthreads::WorkerBlock& block) { m_display->fill(block); }

void MainWindow::animate() { m_browseButton->setFrame(m_browseButton->frame() + 1); }

int MainWindow::animationFrame() const { return m_browseButton->frame(); }

}  // namespace app
