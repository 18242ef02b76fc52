#pragma once
// A FileChooser for tests: records every request and answers from a script
// (then as if the user cancelled).

#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "ui/file_chooser.h"

namespace ui {

class ScriptedFileChooser final : public FileChooser {
 public:
  enum class Kind { Open, Save };
  struct Shown {
    Kind kind;
    FileRequest request;
  };

  std::optional<std::string> open(const FileRequest& request) override {
    return answer(Kind::Open, request);
  }
  std::optional<std::string> save(const FileRequest& request) override {
    return answer(Kind::Save, request);
  }

  // The next request is answered with `path` (default extension applied as
  // the real chooser does); std::nullopt answers "cancelled".
  void queueAnswer(std::optional<std::string> path) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back(std::move(path));
  }

  std::vector<Shown> shown() const {
    std::lock_guard lock(m_mutex);
    return m_shown;
  }

 private:
  std::optional<std::string> answer(Kind kind, const FileRequest& request) {
    std::lock_guard lock(m_mutex);
    m_shown.push_back({kind, request});
    if (m_answers.empty()) return std::nullopt;
    auto a = std::move(m_answers.front());
    m_answers.pop_front();
    if (a) return withDefaultExtension(std::move(*a), request);
    return a;
  }

  mutable std::mutex m_mutex;
  std::vector<Shown> m_shown;
  std::deque<std::optional<std::string>> m_answers;
};

}  // namespace ui
