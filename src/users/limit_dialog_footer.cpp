#include "users/limit_dialog_footer.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace users {

void addLimitDialogFooter(QDialog* dialog, QVBoxLayout* layout, bool mixed,
                          const QString& mixedNote) {
  if (mixed) {
    auto* note = new QLabel(mixedNote, dialog);
    note->setObjectName(QStringLiteral("mixedNote"));
    note->setWordWrap(true);
    layout->addWidget(note);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  // QDialog::accept is virtual: a dialog that checks its fields first gets
  // its own.
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  layout->addWidget(buttons);
}

}  // namespace users
