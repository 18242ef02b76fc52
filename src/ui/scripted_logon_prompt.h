#pragma once
// A logon port for tests: records what each prompt offered and answers from
// a script (then with Cancel).

#include <deque>
#include <mutex>
#include <optional>
#include <vector>

#include "ui/logon_prompt.h"

namespace ui {

class ScriptedLogonPrompt final : public LogonPrompt {
 public:
  bool ask(LogonFields& fields) override {
    std::lock_guard lock(m_mutex);
    m_asked.push_back(fields);
    m_asked.back().password.clear();
    if (m_answers.empty()) return false;
    std::optional<LogonFields> answer = m_answers.front();
    m_answers.pop_front();
    if (!answer) return false;
    fields.user = answer->user;
    fields.domain = answer->domain;
    fields.password = answer->password;
    return true;
  }

  // OK with these fields (server and refused are ignored).
  void queueLogon(std::string user, std::string domain, std::string password) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(LogonFields{{}, std::move(user), std::move(domain), std::move(password)});
  }
  void queueCancel() {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(std::nullopt);
  }

  // What each prompt offered (passwords left out).
  std::vector<LogonFields> asked() const {
    std::lock_guard lock(m_mutex);
    return m_asked;
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<LogonFields> m_asked;
  std::deque<std::optional<LogonFields>> m_answers;
};

}  // namespace ui
