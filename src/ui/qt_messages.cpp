#include "ui/qt_messages.h"

#include <QApplication>
#include <QAbstractButton>
#include <QMessageBox>
#include <QThread>
#include <algorithm>

namespace ui {
namespace {

QMessageBox::StandardButton buttonOf(Answer a) {
  switch (a) {
    case Answer::Ok: return QMessageBox::Ok;
    case Answer::Cancel: return QMessageBox::Cancel;
    case Answer::Yes: return QMessageBox::Yes;
    case Answer::No: return QMessageBox::No;
  }
  return QMessageBox::Ok;
}

QMessageBox::StandardButtons buttonsOf(Buttons b) {
  switch (b) {
    case Buttons::Ok: return QMessageBox::Ok;
    case Buttons::OkCancel: return QMessageBox::Ok | QMessageBox::Cancel;
    case Buttons::YesNo: return QMessageBox::Yes | QMessageBox::No;
    case Buttons::YesNoCancel: return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
  }
  return QMessageBox::Ok;
}

QMessageBox::Icon iconOf(Icon i) {
  switch (i) {
    case Icon::None: return QMessageBox::NoIcon;
    case Icon::Information: return QMessageBox::Information;
    case Icon::Warning: return QMessageBox::Warning;
    case Icon::Error: return QMessageBox::Critical;
    case Icon::Question: return QMessageBox::Question;
  }
  return QMessageBox::NoIcon;
}

bool onGuiThread() {
  return QCoreApplication::instance() &&
         QThread::currentThread() == QCoreApplication::instance()->thread();
}

}  // namespace

QtMessages::QtMessages(QObject* parent) : QObject(parent) {}

QtMessages::~QtMessages() { releaseWaiting(); }

std::unique_ptr<QMessageBox> QtMessages::makeBox(const Message& message, QWidget* owner) {
  auto box = std::make_unique<QMessageBox>(owner);
  const QString caption = message.caption.empty() ? QCoreApplication::applicationName()
                                                  : QString::fromStdString(message.caption);
  box->setWindowTitle(caption);
  box->setText(QString::fromStdString(message.text));
  box->setIcon(iconOf(message.icon));
  box->setStandardButtons(buttonsOf(message.buttons));
  box->setDefaultButton(buttonOf(message.defaultAnswer));
  return box;
}

Answer QtMessages::answerOf(int standardButton, const Message& message) {
  switch (standardButton) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Cancel: return Answer::Cancel;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: break;
  }
  // Closed by the window manager: a box with Cancel answers Cancel, a Yes/No
  // question its safe default, an OK box OK.
  if (message.buttons == Buttons::OkCancel || message.buttons == Buttons::YesNoCancel)
    return Answer::Cancel;
  return message.defaultAnswer;
}

Answer QtMessages::show(const Message& message) {
  if (!onGuiThread()) return showFromWorker(message);
  auto box = makeBox(message, m_owner.data());
  box->setWindowModality(m_owner ? Qt::WindowModal : Qt::ApplicationModal);
  const int result = box->exec();
  return answerOf(result, message);
}

Answer QtMessages::showFromWorker(const Message& message) {
  auto pending = std::make_shared<Pending>();
  pending->message = message;
  {
    std::lock_guard lock(m_mutex);
    if (m_released) return message.defaultAnswer;
    m_pending.push_back(pending);
  }
  QMetaObject::invokeMethod(this, [this, pending] { present(pending); }, Qt::QueuedConnection);
  std::unique_lock lock(m_mutex);
  m_answered.wait(lock, [&] { return pending->answer.has_value(); });
  return *pending->answer;
}

void QtMessages::present(const std::shared_ptr<Pending>& pending) {
  {
    std::lock_guard lock(m_mutex);
    if (pending->answer) return;  // released before it could be shown
  }
  // Over the window it belongs to (centred on it), but not modal: the
  // window stays usable while a worker waits for the answer.
  auto owned = makeBox(pending->message, m_owner.data());
  QMessageBox* box = owned.release();  // deletes itself when closed
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  pending->box = box;
  connect(box, &QMessageBox::finished, this, [this, pending, box](int) {
    QAbstractButton* clicked = box->clickedButton();
    const int std = clicked ? static_cast<int>(box->standardButton(clicked)) : -1;
    settle(pending, answerOf(std, pending->message));
  });
  box->show();
}

void QtMessages::settle(const std::shared_ptr<Pending>& pending, Answer answer) {
  {
    std::lock_guard lock(m_mutex);
    if (!pending->answer) pending->answer = answer;
    std::erase(m_pending, pending);
  }
  m_answered.notify_all();
}

void QtMessages::releaseWaiting() {
  {
    std::lock_guard lock(m_mutex);
    m_released = true;
  }
  answerWaiting();
}

void QtMessages::answerWaiting() {
  std::vector<std::shared_ptr<Pending>> waiting;
  {
    std::lock_guard lock(m_mutex);
    waiting.swap(m_pending);
    for (auto& p : waiting)
      if (!p->answer) p->answer = p->message.defaultAnswer;
  }
  m_answered.notify_all();
  if (onGuiThread())
    for (auto& p : waiting)
      if (p->box) p->box->close();
}

}  // namespace ui
