#include "app/window_worker_host.h"

#include <QMetaObject>

#include "app/browse_controller.h"

namespace app {

WindowWorkerHost::WindowWorkerHost(BrowseController* controller, std::uint64_t browseId,
                                   std::shared_ptr<ui::Messages> messages)
    : m_controller(controller), m_browseId(browseId), m_messages(std::move(messages)) {}

void WindowWorkerHost::setStatusText(std::string text) {
  std::lock_guard lock(m_mutex);
  m_pendingStatus = std::move(text);
  if (m_statusQueued || !m_controller) return;
  m_statusQueued = true;
  // Holding the lock keeps the controller alive until the call is queued;
  // the queued call itself is dropped by Qt if the controller goes first.
  QMetaObject::invokeMethod(
      m_controller,
      [self = shared_from_this()] {
        std::string text;
        BrowseController* controller;
        {
          std::lock_guard lock(self->m_mutex);
          self->m_statusQueued = false;
          text = std::move(self->m_pendingStatus);
          controller = self->m_controller;
        }
        if (controller) controller->workerStatusText(self->m_browseId, text);
      },
      Qt::QueuedConnection);
}

void WindowWorkerHost::workFinished(std::shared_ptr<dlgthreads::WorkerBlock> block) {
  std::lock_guard lock(m_mutex);
  if (!m_controller) return;
  BrowseController* controller = m_controller;
  QMetaObject::invokeMethod(
      controller, [controller, block = std::move(block)] { controller->workFinished(block); },
      Qt::QueuedConnection);
}

void WindowWorkerHost::detach() {
  std::lock_guard lock(m_mutex);
  m_controller = nullptr;
}

}  // namespace app
