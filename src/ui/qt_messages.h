#pragma once
// The Qt message-box port. On the GUI thread a box runs modally over its
// owner. From a worker thread the box is posted to the GUI thread and shown
// there without an owner and without blocking the window; only the worker
// waits for the answer.

#include <QObject>
#include <QPointer>
#include <QWidget>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "ui/messages.h"

class QMessageBox;

namespace ui {

class QtMessages final : public QObject, public Messages {
  Q_OBJECT
 public:
  // Must be made on the GUI thread.
  explicit QtMessages(QObject* parent = nullptr);
  ~QtMessages() override;

  // The window that owns boxes shown on the GUI thread (may be null).
  void setOwner(QWidget* owner) override { m_owner = owner; }

  Answer show(const Message& message) override;

  // Closes every box a worker is waiting on and answers it with its default
  // answer; later worker calls get their default answer at once. Used when
  // the window closes, so no worker waits for ever on a box nobody sees.
  void releaseWaiting() override;
  void answerWaiting() override;

  // Builds the box for a message (no owner, not shown).
  static std::unique_ptr<QMessageBox> makeBox(const Message& message, QWidget* owner);
  static Answer answerOf(int standardButton, const Message& message);

 private:
  struct Pending {
    Message message;
    std::optional<Answer> answer;
    QPointer<QMessageBox> box;
  };

  Answer showFromWorker(const Message& message);
  void present(const std::shared_ptr<Pending>& pending);
  void settle(const std::shared_ptr<Pending>& pending, Answer answer);

  QPointer<QWidget> m_owner;
  std::mutex m_mutex;
  std::condition_variable m_answered;
  std::vector<std::shared_ptr<Pending>> m_pending;
  bool m_released = false;
};

}  // namespace ui
