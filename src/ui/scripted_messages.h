#pragma once
// A Messages port for tests and unattended runs: records every message and
// answers from a script (then with the message's default answer).

#include <deque>
#include <mutex>
#include <vector>

#include "ui/messages.h"

namespace ui {

class ScriptedMessages final : public Messages {
 public:
  Answer show(const Message& message) override {
    std::lock_guard lock(m_mutex);
    m_shown.push_back(message);
    if (!m_answers.empty()) {
      Answer a = m_answers.front();
      m_answers.pop_front();
      return a;
    }
    return message.defaultAnswer;
  }

  void queueAnswer(Answer answer) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(answer);
  }

  std::vector<Message> shown() const {
    std::lock_guard lock(m_mutex);
    return m_shown;
  }

  void clear() {
    std::lock_guard lock(m_mutex);
    m_shown.clear();
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<Message> m_shown;
  std::deque<Answer> m_answers;
};

}  // namespace ui
