#pragma once
// A DialogRunner for tests: records the object name and title of every dialog
// it is asked to run, and answers with the next scripted step. A step may work
// the dialog (set fields, call its OK step) and returns the result; without a
// step the dialog is rejected, as if the user cancelled.

#include <QDialog>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "ui/dialog_runner.h"

namespace ui {

class ScriptedDialogRunner final : public DialogRunner {
 public:
  using Step = std::function<int(QDialog&)>;
  struct Shown {
    std::string objectName;
    std::string title;
  };

  int run(QDialog& dialog) override {
    m_shown.push_back({dialog.objectName().toStdString(), dialog.windowTitle().toStdString()});
    if (m_steps.empty()) return QDialog::Rejected;
    Step step = std::move(m_steps.front());
    m_steps.pop_front();
    return step(dialog);
  }

  void queueStep(Step step) { m_steps.push_back(std::move(step)); }
  void queueResult(int result) {
    m_steps.push_back([result](QDialog&) { return result; });
  }

  const std::vector<Shown>& shown() const { return m_shown; }

 private:
  std::vector<Shown> m_shown;
  std::deque<Step> m_steps;
};

}  // namespace ui
