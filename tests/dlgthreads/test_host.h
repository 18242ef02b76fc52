#pragma once
// A WorkerHost for driving workers headless: records status texts, messages
// and hand-overs, and can hold a worker up inside a status update.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dlgthreads/worker_frame.h"
#include "ui/scripted_messages.h"

namespace dlgthreads::testing {

class TestHost final : public WorkerHost {
 public:
  void setStatusText(std::string text) override {
    std::function<void(const std::string&)> hook;
    {
      std::lock_guard lock(m_mutex);
      m_status.push_back(text);
      hook = m_statusHook;
    }
    if (hook) hook(text);
  }
  ui::Messages& messages() override { return m_messages; }
  void workFinished(std::shared_ptr<WorkerBlock> block) override {
    {
      std::lock_guard lock(m_mutex);
      m_finished.push_back(std::move(block));
    }
    m_changed.notify_all();
  }

  // Called (outside the host's lock) on the worker's thread for each text.
  void setStatusHook(std::function<void(const std::string&)> hook) {
    std::lock_guard lock(m_mutex);
    m_statusHook = std::move(hook);
  }
  std::vector<std::string> statusTexts() const {
    std::lock_guard lock(m_mutex);
    return m_status;
  }
  std::vector<std::shared_ptr<WorkerBlock>> finished() const {
    std::lock_guard lock(m_mutex);
    return m_finished;
  }
  bool waitFinished(std::chrono::milliseconds timeout) {
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return !m_finished.empty(); });
  }
  ui::ScriptedMessages& scripted() { return m_messages; }
  // A handed-over block holds its host: forgetting the blocks breaks the
  // cycle so both can go.
  void forgetFinished() {
    std::lock_guard lock(m_mutex);
    m_finished.clear();
  }

 private:
  mutable std::mutex m_mutex;
  std::condition_variable m_changed;
  std::vector<std::string> m_status;
  std::vector<std::shared_ptr<WorkerBlock>> m_finished;
  std::function<void(const std::string&)> m_statusHook;
  ui::ScriptedMessages m_messages;
};

// A fresh block of `kind` for `server`, reporting to `host`.
inline std::shared_ptr<WorkerBlock> makeBlock(WorkKind kind, std::shared_ptr<TestHost> host,
                                              std::string server) {
  auto block = std::make_shared<WorkerBlock>();
  block->kind = kind;
  block->host = std::move(host);
  block->state.selectedServer = std::move(server);
  return block;
}

}  // namespace dlgthreads::testing
