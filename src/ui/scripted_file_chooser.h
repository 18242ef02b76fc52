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
    auto choice = answer(Kind::Open, request);
    if (!choice) return std::nullopt;
    return std::move(choice->path);
  }
  std::optional<FileChoice> saveChoice(const FileRequest& request) override {
    return answer(Kind::Save, request);
  }

  // The next request is answered with `path` (the filter's extension applied
  // as the real chooser does) and the filter of index `filter` selected (-1:
  // the one the request opened on); std::nullopt answers "cancelled".
  void queueAnswer(std::optional<std::string> path, int filter = -1) {
    std::lock_guard lock(m_mutex);
    m_answers.push_back({std::move(path), filter});
  }

  std::vector<Shown> shown() const {
    std::lock_guard lock(m_mutex);
    return m_shown;
  }

 private:
  struct Scripted {
    std::optional<std::string> path;
    int filter = -1;
  };

  std::optional<FileChoice> answer(Kind kind, const FileRequest& request) {
    std::lock_guard lock(m_mutex);
    m_shown.push_back({kind, request});
    if (m_answers.empty()) return std::nullopt;
    Scripted a = std::move(m_answers.front());
    m_answers.pop_front();
    if (!a.path) return std::nullopt;
    const int filter = a.filter >= 0 ? a.filter : request.initialFilter;
    return FileChoice{withDefaultExtension(std::move(*a.path), request, filter), filter};
  }

  mutable std::mutex m_mutex;
  std::vector<Shown> m_shown;
  std::deque<Scripted> m_answers;
};

}  // namespace ui
