#pragma once
// The sub-dialog port: runs a dialog modally and gives its result
// (QDialog::Accepted or QDialog::Rejected). The window uses the Qt version;
// tests install a scripted one (ui/scripted_dialog_runner.h) that can work
// the dialog's fields before it answers.

class QDialog;

namespace ui {

class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  virtual int run(QDialog& dialog) = 0;
};

// Runs the dialog with exec().
class QtDialogRunner final : public DialogRunner {
 public:
  int run(QDialog& dialog) override;
};

}  // namespace ui
