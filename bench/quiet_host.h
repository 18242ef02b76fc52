#pragma once
// A worker host for the benchmarks: takes the status texts and the end of
// the work without a word, and keeps the messages a browse shows.

#include <memory>
#include <string>

#include "dlgthreads/worker_frame.h"
#include "ui/scripted_messages.h"

namespace bench {

class QuietHost final : public dlgthreads::WorkerHost {
 public:
  void setStatusText(std::string) override {}
  ui::Messages& messages() override { return m_messages; }
  void workFinished(std::shared_ptr<dlgthreads::WorkerBlock>) override {}
  std::size_t messagesShown() const { return m_messages.shown().size(); }

 private:
  ui::ScriptedMessages m_messages;
};

}  // namespace bench
