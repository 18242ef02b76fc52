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

class UnattendedMessages final : public ui::Messages {
 public:
  ui::Answer show(const ui::Message& message) override {
    // The program's own title says nothing on a line the program prints.
    const bool plain = message.caption.empty() || message.caption == res::programTitle();
    std::string line = plain ? message.text : message.caption + ": " + message.text;
    for (char& c : line)
      if (c == '\n' || c == '\r') c = ' ';
    std::lock_guard lock(m_mutex);
    m_lines.push_back(std::move(line));
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
