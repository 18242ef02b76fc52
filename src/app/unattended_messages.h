#pragma once
// The message port of an unattended run: nobody is there to answer a box, so
// every message is kept (to be printed when the run ends) and answered with
// its default at once.

#include <mutex>
#include <string>
#include <vector>

#include "resources/strings.h"
#include "ui/messages.h"

namespace app {

// A message as one line the program prints: its caption in front unless it is
// the program's own title (which says nothing there), line breaks as blanks.
inline std::string messageLine(const ui::Message& message) {
  const bool plain = message.caption.empty() || message.caption == res::programTitle();
  std::string line = plain ? message.text : message.caption + ": " + message.text;
  for (char& c : line)
    if (c == '\n' || c == '\r') c = ' ';
  return line;
}

class UnattendedMessages final : public ui::Messages {
 public:
  ui::Answer show(const ui::Message& message) override {
    std::lock_guard lock(m_mutex);
    m_lines.push_back(messageLine(message));
    return message.defaultAnswer;
  }

  std::vector<std::string> lines() const {
    std::lock_guard lock(m_mutex);
    return m_lines;
  }

 private:
  mutable std::mutex m_mutex;
  std::vector<std::string> m_lines;
};

}  // namespace app
