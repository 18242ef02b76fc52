#pragma once
// RAII owner of one browse worker thread.
//
// `browse_priority` maps to the thread's nice value, relative to the nice
// value it starts with:
//   0 lowest        +10
//   1 below normal   +5
//   2 normal (and any value not listed)  unchanged
//   3 above normal   -5
//   4 highest       -10
// Lowering the priority always works; raising it needs privileges
// (CAP_SYS_NICE or a nice rlimit). When the change is refused the thread runs
// at the priority it started with and start() reports the failure, so the
// window can say "Failed to set thread priority." while the browse goes on.
//
// There is no thread termination: stop() sets the block's cancel flag and
// the worker leaves at its next check. The destructor stops, then joins a
// worker that leaves within the grace period; a worker still blocked in a
// platform call is detached, and the block it works on stays alive through
// the thread's own shared ownership until it returns.

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

#include "dlgthreads/worker_frame.h"
#include "settings/settings_values.h"

namespace dlgthreads {

using WorkerFunction = std::function<void(std::shared_ptr<WorkerBlock>)>;

// The nice increment for a `browse_priority` value.
int niceDeltaForPriority(settings::Word browsePriority);

class WorkerThread {
 public:
  struct StartResult {
    bool started = false;      // the thread exists
    bool priorityOk = true;    // the priority was applied (or nothing to apply)
  };

  WorkerThread() = default;
  ~WorkerThread();
  WorkerThread(WorkerThread&&) noexcept;
  WorkerThread& operator=(WorkerThread&&) noexcept;
  WorkerThread(const WorkerThread&) = delete;
  WorkerThread& operator=(const WorkerThread&) = delete;

  // Starts `work` on `block` in a new thread at the priority that
  // `browsePriority` gives. An earlier worker owned by this object is stopped
  // and released first (joined or detached as on destruction). Returns once
  // the thread has applied its priority.
  StartResult start(std::shared_ptr<WorkerBlock> block, WorkerFunction work,
                    settings::Word browsePriority = 2);

  // Asks the worker to leave (sets its block's cancel flag). Does not wait.
  void stop();
  // True while the worker function has not returned.
  bool running() const;
  // Waits until the worker has returned, at most `timeout`; true when it has.
  bool waitFor(std::chrono::milliseconds timeout) const;
  // The block of the last worker started (null before any start).
  const std::shared_ptr<WorkerBlock>& block() const { return m_block; }

  // How long the destructor waits for a stopped worker before detaching it.
  void setGracePeriod(std::chrono::milliseconds grace) { m_grace = grace; }

 private:
  struct Shared;  // completion state shared with the thread
  void release();

  std::thread m_thread;
  std::shared_ptr<WorkerBlock> m_block;
  std::shared_ptr<Shared> m_shared;
  std::chrono::milliseconds m_grace{2000};
};

}  // namespace dlgthreads
