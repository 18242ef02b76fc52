#include "ui/qt_dialog_runner.h"

#include <QDialog>

namespace ui {

int QtDialogRunner::run(QDialog& dialog) { return dialog.exec(); }

}  // namespace ui
