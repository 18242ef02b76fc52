#include "dlgthreads/worker_thread.h"

#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <mutex>
#include <utility>

namespace dlgthreads {

struct WorkerThread::Shared {
  std::mutex mutex;
  std::condition_variable changed;
  bool priorityReported = false;
  bool priorityOk = true;
  bool done = false;
};

namespace {

constexpr int kMinNice = -20;
constexpr int kMaxNice = 19;

// Applies a nice increment to the calling thread (Linux keeps nice values
// per thread). False when the system refuses it.
bool adjustOwnNice(int delta) {
  if (delta == 0) return true;
  const auto tid = static_cast<id_t>(gettid());
  errno = 0;
  const int current = getpriority(PRIO_PROCESS, tid);
  if (current == -1 && errno != 0) return false;
  const int wanted = std::clamp(current + delta, kMinNice, kMaxNice);
  return setpriority(PRIO_PROCESS, tid, wanted) == 0;
}

}  // namespace

int niceDeltaForPriority(settings::Word browsePriority) {
  switch (browsePriority) {
    case 0: return 10;
    case 1: return 5;
    case 3: return -5;
    case 4: return -10;
    default: return 0;
  }
}

WorkerThread::~WorkerThread() { release(); }

WorkerThread::WorkerThread(WorkerThread&& other) noexcept
    : m_thread(std::move(other.m_thread)),
      m_block(std::move(other.m_block)),
      m_shared(std::move(other.m_shared)),
      m_grace(other.m_grace) {}

WorkerThread& WorkerThread::operator=(WorkerThread&& other) noexcept {
  if (this != &other) {
    release();
    m_thread = std::move(other.m_thread);
    m_block = std::move(other.m_block);
    m_shared = std::move(other.m_shared);
    m_grace = other.m_grace;
  }
  return *this;
}

WorkerThread::StartResult WorkerThread::start(std::shared_ptr<WorkerBlock> block,
                                              WorkerFunction work,
                                              settings::Word browsePriority) {
  release();
  if (!block || !work) return {};
  auto shared = std::make_shared<Shared>();
  const int delta = niceDeltaForPriority(browsePriority);
  try {
    // The thread holds its own references: a detached worker keeps its block
    // and completion state alive until it returns.
    m_thread = std::thread([block, work = std::move(work), shared, delta]() mutable {
      const bool ok = adjustOwnNice(delta);
      {
        std::lock_guard lock(shared->mutex);
        shared->priorityOk = ok;
        shared->priorityReported = true;
      }
      shared->changed.notify_all();
      work(std::move(block));
      {
        std::lock_guard lock(shared->mutex);
        shared->done = true;
      }
      shared->changed.notify_all();
    });
  } catch (const std::system_error&) {
    return {};
  }
  m_block = std::move(block);
  m_shared = shared;
  std::unique_lock lock(shared->mutex);
  shared->changed.wait(lock, [&] { return shared->priorityReported; });
  return {true, shared->priorityOk};
}

void WorkerThread::stop() {
  if (m_block) m_block->requestCancel();
}

bool WorkerThread::running() const {
  if (!m_shared) return false;
  std::lock_guard lock(m_shared->mutex);
  return !m_shared->done;
}

bool WorkerThread::waitFor(std::chrono::milliseconds timeout) const {
  if (!m_shared) return true;
  std::unique_lock lock(m_shared->mutex);
  return m_shared->changed.wait_for(lock, timeout, [&] { return m_shared->done; });
}

void WorkerThread::release() {
  if (m_thread.joinable()) {
    // A worker that has already finished returns at once; one that is still
    // running is asked to leave and given the grace period to do so.
    if (running()) stop();
    if (waitFor(m_grace)) {
      m_thread.join();
    } else {
      m_thread.detach();
    }
  }
  m_block.reset();
  m_shared.reset();
}

}  // namespace dlgthreads
