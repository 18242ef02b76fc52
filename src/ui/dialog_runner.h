#pragma once
// The sub-dialog port: runs a dialog modally and gives its result
// (QDialog::Accepted or QDialog::Rejected). The window uses the Qt version
// (ui/qt_dialog_runner.h); tests install a scripted one
// (ui/scripted_dialog_runner.h) that can work the dialog's fields before it
// answers. The dialog is only named here, so the port compiles without Qt.

class QDialog;

namespace ui {

class DialogRunner {
 public:
  virtual ~DialogRunner() = default;
  virtual int run(QDialog& dialog) = 0;
};

}  // namespace ui
