#include "app/browse_controller.h"

#include "app/window_texts.h"
#include "app/window_worker_host.h"
#include "session/display_traits.h"

namespace app {

using display::BrowseStart;
using display::DisplayTraits;
using display::DisplayType;

BrowseController::BrowseController(View& view, std::shared_ptr<ui::Messages> messages)
    : m_view(view), m_messages(std::move(messages)) {}

BrowseController::~BrowseController() { shutDown(); }

void BrowseController::browse(Request request) {
  if (m_browsing) return;
  m_server = request.server;
  if (request.type == DisplayType::None) {
    m_view.showMessage(kMsgUnsupportedDisplay);
    return;
  }
  const DisplayTraits& traits = display::traitsOf(request.type);
  switch (traits.browse) {
    case BrowseStart::Worker:
      if (display::startsWorker(traits, request.settings)) startWorker(traits, request);
      break;
    case BrowseStart::OnThisThread:
      gatherHere(traits, std::move(request));
      break;
    case BrowseStart::Nothing:
      break;
  }
}

void BrowseController::startWorker(const DisplayTraits& traits, Request& request) {
  auto block = session::browseBlock(traits, std::move(request), ++m_browseId);
  if (m_host) m_host->detach();
  m_host = std::make_shared<WindowWorkerHost>(this, m_browseId, m_messages);
  block->host = m_host;

  dlgthreads::ResetWork(block->kind);
  // A stopped worker may still be on its way out, or held by one of its
  // message boxes; waiting for it here would freeze the window (the box
  // needs this thread), so it is put aside and joined once it has ended.
  std::erase_if(m_stoppedWorkers, [](const dlgthreads::WorkerThread& w) { return !w.running(); });
  if (m_worker.running()) m_stoppedWorkers.push_back(std::move(m_worker));
  const auto started = m_worker.start(block, traits.worker, block->state.settings.browse_priority);
  if (!started.started) {
    m_host->detach();
    m_view.showMessage("Could not start the browse.");
    return;
  }
  // The busy state comes before the priority message: the box runs an
  // event loop in which the worker's results may already arrive, and they
  // must find the browse they belong to.
  beginBusy(traits.statusName);
  if (!started.priorityOk) m_view.showMessage(kMsgPriorityFailed);
}

void BrowseController::gatherHere(const DisplayTraits& traits, Request request) {
  beginBusy(traits.statusName);
  const std::uint64_t id = ++m_browseId;
  std::shared_ptr<dlgthreads::WorkerBlock> block;
  if (m_messages) block = session::gatherHere(traits, std::move(request), id, *m_messages);
  // A refusal's box runs an event loop, in which the user may have stopped
  // this browse; the fill ends the busy state.
  if (!m_browsing || id != m_browseId) return;
  if (block)
    m_view.fill(*block);
  else
    endBusy();
}

void BrowseController::beginBusy(std::string_view name) {
  m_browsing = true;
  m_view.showBusy(name);
}

void BrowseController::endBusy() {
  m_browsing = false;
  m_view.showIdle();
}

void BrowseController::stop() {
  m_worker.stop();
  if (m_host) m_host->detach();
  // A box the stopped worker waits on ("Files list is full") goes with it.
  if (m_messages) m_messages->answerWaiting();
  m_view.showStopped();
  endBusy();
}

void BrowseController::stopWorker() {
  m_worker.stop();
  if (m_host) m_host->detach();
  // A worker waiting for an answer would never see its cancel flag.
  if (m_messages) m_messages->releaseWaiting();
  m_worker = dlgthreads::WorkerThread{};  // joins, or detaches a stuck worker
  m_stoppedWorkers.clear();
}

void BrowseController::shutDown() { stopWorker(); }

void BrowseController::workerStatusText(std::uint64_t browseId, const std::string& text) {
  if (m_browsing && browseId == m_browseId) m_view.showWorkerStatus(text);
}

void BrowseController::workFinished(const std::shared_ptr<dlgthreads::WorkerBlock>& block) {
  if (!block || !m_browsing || block->browseId != m_browseId || block->cancelled()) return;
  m_view.fill(*block);
}

}  // namespace app
