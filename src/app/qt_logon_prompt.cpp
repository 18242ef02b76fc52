#include "app/qt_logon_prompt.h"

#include <QApplication>
#include <QThread>

#include "app/logon_dialog.h"

namespace app {

bool QtLogonPrompt::ask(ui::LogonFields& fields) {
  if (QThread::currentThread() == thread()) return askHere(fields);
  bool accepted = false;
  QMetaObject::invokeMethod(
      this, [&] { accepted = askHere(fields); }, Qt::BlockingQueuedConnection);
  return accepted;
}

bool QtLogonPrompt::askHere(ui::LogonFields& fields) {
  LogonDialog dialog(fields, QApplication::activeWindow());
  if (dialog.exec() != QDialog::Accepted) return false;
  ui::LogonFields answer = dialog.fields();
  dialog.takePassword(&answer);
  fields.user = answer.user;
  fields.domain = answer.domain;
  fields.password.swap(answer.password);
  return true;
}

}  // namespace app
