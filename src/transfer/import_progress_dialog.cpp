#include "transfer/import_progress_dialog.h"

#include <QCoreApplication>

namespace transfer {

ImportProgressDialog::ImportProgressDialog(QWidget* parent) : QProgressDialog(parent) {
  setObjectName(QStringLiteral("ImportProgress"));
  setWindowTitle(QStringLiteral("Importing"));
  setCancelButtonText(QStringLiteral("&Cancel"));
  setWindowModality(Qt::WindowModal);
  setMinimumDuration(0);
  setAutoClose(false);
  setAutoReset(false);
}

bool ImportProgressDialog::recordsDone(std::size_t done, std::size_t total) {
  setMaximum(static_cast<int>(total));
  setValue(static_cast<int>(done));
  setLabelText(QStringLiteral("Records done: %1 of %2").arg(done).arg(total));
  QCoreApplication::processEvents();
  return !wasCanceled();
}

}  // namespace transfer
