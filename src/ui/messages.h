#pragma once
// The message-box port. Plain C++ so that the settings store and the browse
// workers can report through it; the window installs a Qt version, tests a
// scripted one (ui/scripted_messages.h). No Qt: the header is in the
// Qt-free ports target.

#include <string>

class QWidget;

namespace ui {

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Icon { None, Information, Warning, Error, Question };
enum class Answer { Ok, Cancel, Yes, No };

struct Message {
  std::string text;
  std::string caption;
  Buttons buttons = Buttons::Ok;
  Icon icon = Icon::None;
  Answer defaultAnswer = Answer::Ok;
};

class Messages {
 public:
  virtual ~Messages() = default;
  // Shows the message and waits for the answer. Safe to call from any thread:
  // a worker's call holds up only that worker.
  virtual Answer show(const Message& message) = 0;

  // The window that owns boxes shown on the GUI thread; a port that shows
  // no boxes ignores it. Only named here, so the port needs no Qt.
  virtual void setOwner(QWidget* /*owner*/) {}
  // Answers every box a worker is still waiting on with its default, and
  // later ones at once: a closing window must not leave a worker waiting
  // for a box nobody will see.
  virtual void releaseWaiting() {}
  // Answers and closes the boxes workers wait on now, with their defaults;
  // later ones are shown as usual (a stopped browse's boxes go with it).
  virtual void answerWaiting() {}

  Answer ok(std::string text, std::string caption, Icon icon = Icon::None) {
    return show(Message{std::move(text), std::move(caption), Buttons::Ok, icon, Answer::Ok});
  }
};

}  // namespace ui
