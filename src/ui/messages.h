#pragma once
// The message-box port. Plain C++ so that the settings store and the browse
// workers can report through it; the window installs a Qt version, tests a
// scripted one (ui/scripted_messages.h).

#include <string>

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

  Answer ok(std::string text, std::string caption, Icon icon = Icon::None) {
    return show(Message{std::move(text), std::move(caption), Buttons::Ok, icon, Answer::Ok});
  }
};

}  // namespace ui
