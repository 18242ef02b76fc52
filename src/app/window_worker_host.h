#pragma once
// The browse controller as one browse's worker sees it. Every call may come from
// the worker thread; each is queued to the GUI thread, tagged with the
// browse it belongs to, so a stopped browse's late calls are dropped there.
// The controller detaches the host when the browse ends or stops; later calls then go nowhere.

#include <memory>
#include <mutex>
#include <string>

#include "dlgthreads/worker_frame.h"

namespace app {

class BrowseController;

class WindowWorkerHost final : public dlgthreads::WorkerHost,
                               public std::enable_shared_from_this<WindowWorkerHost> {
 public:
  WindowWorkerHost(BrowseController* controller, std::uint64_t browseId,
                   std::shared_ptr<ui::Messages> messages);

  // Progress updates are coalesced: at most one is queued at a time, and it
  // shows the latest text when it runs.
  void setStatusText(std::string text) override;
  ui::Messages& messages() override { return *m_messages; }
  void workFinished(std::shared_ptr<dlgthreads::WorkerBlock> block) override;

  void detach();

 private:
  std::mutex m_mutex;
  BrowseController* m_controller;  // null once detached; guarded by m_mutex
  std::uint64_t m_browseId;
  std::shared_ptr<ui::Messages> m_messages;
  std::string m_pendingStatus;
  bool m_statusQueued = false;
};

}  // namespace app
