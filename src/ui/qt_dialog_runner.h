#pragma once
// Runs a dialog with exec().

#include "ui/dialog_runner.h"

namespace ui {

class QtDialogRunner final : public DialogRunner {
 public:
  int run(QDialog& dialog) override;
};

}  // namespace ui
