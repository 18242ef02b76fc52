// The browse controller: starts a browse of the current display type on a
// worker thread, shows the busy state, takes the finished results back on
// this thread and stops a browse on request.

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>

#include "app/browse_button.h"
#include "app/main_window.h"
#include "app/window_texts.h"
#include "app/window_worker_host.h"
#include "display/result_display.h"
#include "dlgthreads/group_worker.h"
#include "dlgthreads/server_worker.h"
#include "dlgthreads/user_worker.h"
#include "platform/netapi.h"
#include "ui/qt_messages.h"

namespace app {

using display::DisplayType;
using dlgthreads::WorkKind;

void MainWindow::browse() {
  // Tools > Browse and Enter while a browse runs are ignored, as F5 is: the
  // browse button is the way to stop, and a display's records are only ever
  // replaced by one browse at a time.
  if (m_browsing) return;
  m_currentServer = m_combo->currentText().toStdString();
  const DisplayType type = currentDisplayType();
  switch (type) {
    case DisplayType::Users:
      startWorker(WorkKind::Users, dlgthreads::gatherUsers, type);
      break;
    case DisplayType::Groups:
      startWorker(WorkKind::Groups, dlgthreads::gatherGroups, type);
      break;
    case DisplayType::Servers:
      startWorker(WorkKind::Servers, dlgthreads::gatherServers, type);
      break;
    case DisplayType::Quotas:
    case DisplayType::Trusts:
      // Gathered on this thread; the readers join with their displays.
      beginBusy(display::statusName(type));
      endBusy();
      break;
    case DisplayType::Files:
      // The access rights form names a user or local group of the browse
      // server; an unknown name starts nothing.
      if (m_settings.f_display_type == 1 && !accessRightsNameKnown()) {
        showMessage(kMsgUserUnknown);
        break;
      }
      // Its walks join with the display; until then nothing starts.
      break;
    case DisplayType::Network:
    case DisplayType::Licenses:
    case DisplayType::Performance:
      // Their workers join with their displays; until then nothing starts.
      break;
    case DisplayType::None:
      showMessage(kMsgUnsupportedDisplay);
      break;
  }
}

bool MainWindow::accessRightsNameKnown() const {
  const std::string name = m_userNameEdit->text().toStdString();
  platform::NetBuffer buffer;
  if (platform::NetUserGetInfo(m_currentServer, name, 0, buffer) == platform::NERR_Success)
    return true;
  return platform::NetLocalGroupGetInfo(m_currentServer, name, 0, buffer) ==
         platform::NERR_Success;
}

void MainWindow::startWorker(WorkKind kind, dlgthreads::WorkerFunction work, DisplayType type) {
  auto block = std::make_shared<dlgthreads::WorkerBlock>();
  block->kind = kind;
  block->browseId = ++m_browseId;
  block->state.settings = m_settings;
  block->state.recordCount = 0;
  block->state.selectedServer = m_currentServer;
  if (m_host) m_host->detach();
  m_host = std::make_shared<WindowWorkerHost>(this, m_browseId, m_ports.messages);
  block->host = m_host;

  dlgthreads::ResetWork(kind);
  // A stopped worker may still be on its way out, or held by one of its
  // message boxes; waiting for it here would freeze the window (the box
  // needs this thread), so it is put aside and joined once it has ended.
  std::erase_if(m_stoppedWorkers, [](const dlgthreads::WorkerThread& w) { return !w.running(); });
  if (m_worker.running()) m_stoppedWorkers.push_back(std::move(m_worker));
  const auto started = m_worker.start(block, std::move(work), m_settings.browse_priority);
  if (!started.started) {
    m_host->detach();
    showMessage("Could not start the browse.");
    return;
  }
  // The busy state comes before the priority message: the box runs an
  // event loop in which the worker's results may already arrive, and they
  // must find the browse they belong to.
  beginBusy(display::statusName(type));
  if (!started.priorityOk) showMessage(kMsgPriorityFailed);
}

void MainWindow::beginBusy(std::string_view name) {
  m_animation.start();
  m_browsing = true;
  m_busyName = std::string(name);
  setStatusText(0, std::string(kTextBrowsing) + m_busyName);
  if (m_editMenu && !m_editMenu->actions().isEmpty())
    m_editMenu->actions().front()->setEnabled(false);
  if (!m_cursorSaved) {
    QApplication::setOverrideCursor(Qt::BusyCursor);
    m_cursorSaved = true;
  }
}

void MainWindow::endBusy() {
  m_browsing = false;
  m_animation.stop();
  m_browseButton->setFrame(0);
  setStatusText(0, kTextReady);
  if (m_cursorSaved) {
    QApplication::restoreOverrideCursor();
    m_cursorSaved = false;
  }
  if (m_autoCommand) queueAutoCommandFinish();
}

void MainWindow::stopBrowse() {
  // The worker leaves at its next check; whatever it still reports belongs
  // to a browse that is over and is dropped.
  m_worker.stop();
  if (m_host) m_host->detach();
  const display::DisplayTexts texts{std::string(kTextUserTerminated),
                                    std::string(kTextTerminatedCount)};
  setDisplayTexts(currentDisplayType(), texts);
  showStatusTexts(texts);
  endBusy();
}

void MainWindow::stopWorker() {
  m_worker.stop();
  if (m_host) m_host->detach();
  // A worker waiting for an answer would never see its cancel flag.
  if (auto* qt = dynamic_cast<ui::QtMessages*>(m_ports.messages.get())) qt->releaseWaiting();
  m_worker = dlgthreads::WorkerThread{};  // joins, or detaches a stuck worker
  m_stoppedWorkers.clear();
}

void MainWindow::animate() { m_browseButton->setFrame(m_browseButton->frame() + 1); }

int MainWindow::animationFrame() const { return m_browseButton->frame(); }

void MainWindow::workerStatusText(std::uint64_t browseId, const std::string& text) {
  if (m_browsing && browseId == m_browseId) setStatusText(2, text);
}

void MainWindow::workFinished(const std::shared_ptr<dlgthreads::WorkerBlock>& block) {
  if (!block || !m_browsing || block->browseId != m_browseId || block->cancelled()) return;
  m_display->fill(*block);
}

}  // namespace app
