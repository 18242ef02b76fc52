#pragma once
// The browse controller: owns the state of the browse in progress (busy,
// its id, its server, the worker thread and the workers of stopped browses)
// and starts a browse of a display type as its traits say: on a worker
// thread, at once on this thread (then fills it), or not at all. It shows nothing itself;
// the window shows the busy and idle states through View.

#include <QObject>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "window/display_type.h"
#include "dlgthreads/worker_thread.h"
#include "session/display_session.h"
#include "settings/settings_values.h"
#include "ui/messages.h"

namespace display {
struct DisplayTraits;
}

namespace app {

class WindowWorkerHost;

class BrowseController final : public QObject {
  Q_OBJECT
 public:
  // The window as the controller sees it. Called on the GUI thread.
  class View {
   public:
    virtual ~View() = default;
    // The busy state begins: "Browsing...." + name, busy cursor, animation.
    virtual void showBusy(std::string_view name) = 0;
    virtual void showIdle() = 0;
    // A worker's progress text for status part 2.
    virtual void showWorkerStatus(const std::string& text) = 0;
    // The user stopped the browse.
    virtual void showStopped() = 0;
    virtual void fill(dlgthreads::WorkerBlock& block) = 0;
    virtual void showMessage(std::string_view text) = 0;
  };

  // What one browse is of: read from the window when the browse starts.
  using Request = session::BrowseRequest;

  BrowseController(View& view, std::shared_ptr<ui::Messages> messages);
  ~BrowseController() override;
  BrowseController(const BrowseController&) = delete;
  BrowseController& operator=(const BrowseController&) = delete;

  // Ignored while a browse runs: the browse button is the way to stop, and
  // a display's records are only ever replaced by one browse at a time.
  void browse(Request request);
  // The user's stop: the worker leaves at its next check, and whatever it
  // still reports belongs to a browse that is over and is dropped.
  void stop();
  // Closing: cancels, releases waiting workers, joins or detaches.
  void shutDown();
  // The fill's end of the busy state.
  void endBusy();

  bool browsing() const { return m_browsing; }
  std::uint64_t browseId() const { return m_browseId; }
  // The browse server as taken from the combo at the start of the browse.
  const std::string& server() const { return m_server; }

  // From the workers, queued to this thread by WindowWorkerHost.
  void workerStatusText(std::uint64_t browseId, const std::string& text);
  void workFinished(const std::shared_ptr<dlgthreads::WorkerBlock>& block);

 private:
  void beginBusy(std::string_view name);
  void startWorker(const display::DisplayTraits& traits, Request& request);
  // A display gathered in one short step: on this thread, then filled.
  void gatherHere(const display::DisplayTraits& traits, Request request);
  void stopWorker();

  View& m_view;
  std::shared_ptr<ui::Messages> m_messages;
  bool m_browsing = false;
  std::string m_server;
  std::uint64_t m_browseId = 0;
  dlgthreads::WorkerThread m_worker;
  // Workers of stopped browses that had not ended when the next one began.
  std::vector<dlgthreads::WorkerThread> m_stoppedWorkers;
  std::shared_ptr<WindowWorkerHost> m_host;
};

}  // namespace app
