#include "app/window_worker_host.h"

#include <QMetaObject>

#include "app/main_window.h"

namespace app {

WindowWorkerHost::WindowWorkerHost(MainWindow* window, std::uint64_t browseId,
                                   std::shared_ptr<ui::Messages> messages)
    : m_window(window), m_browseId(browseId), m_messages(std::move(messages)) {}

void WindowWorkerHost::setStatusText(std::string text) {
  std::lock_guard lock(m_mutex);
  m_pendingStatus = std::move(text);
  if (m_statusQueued || !m_window) return;
  m_statusQueued = true;
  // Holding the lock keeps the window alive until the call is queued; the
  // queued call itself is dropped by Qt if the window goes first.
  QMetaObject::invokeMethod(
      m_window,
      [self = shared_from_this()] {
        std::string text;
        MainWindow* window;
        {
          std::lock_guard lock(self->m_mutex);
          self->m_statusQueued = false;
          text = std::move(self->m_pendingStatus);
          window = self->m_window;
        }
        if (window) window->workerStatusText(self->m_browseId, text);
      },
      Qt::QueuedConnection);
}

void WindowWorkerHost::workFinished(std::shared_ptr<dlgthreads::WorkerBlock> block) {
  std::lock_guard lock(m_mutex);
  if (!m_window) return;
  MainWindow* window = m_window;
  QMetaObject::invokeMethod(
      window, [window, block = std::move(block)] { window->workFinished(block); },
      Qt::QueuedConnection);
}

void WindowWorkerHost::detach() {
  std::lock_guard lock(m_mutex);
  m_window = nullptr;
}

}  // namespace app
