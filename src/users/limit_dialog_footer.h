#pragma once
// The end of the Hours, Logon To and Account dialogs: in the combined
// dialog, the note that the accounts differ; then OK and Cancel.

#include <QString>

class QDialog;
class QVBoxLayout;

namespace users {

// Adds to `layout` the note `mixedNote` when `mixed`, then OK (the dialog's
// own accept, which may refuse) and Cancel.
void addLimitDialogFooter(QDialog* dialog, QVBoxLayout* layout, bool mixed,
                          const QString& mixedNote);

}  // namespace users
