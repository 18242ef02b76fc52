#pragma once
// The message port of the unattended import: nobody is there to answer, so
// each message is one line on standard error at once, answered with its
// default.

#include <cstdio>
#include <string>

#include "resources/strings.h"
#include "ui/messages.h"

namespace app {

class StderrMessages final : public ui::Messages {
 public:
  ui::Answer show(const ui::Message& message) override {
    const bool plain = message.caption.empty() || message.caption == res::programTitle();
    std::string line = plain ? message.text : message.caption + ": " + message.text;
    for (char& c : line)
      if (c == '\n' || c == '\r') c = ' ';
    std::fprintf(stderr, "veltrane: %s\n", line.c_str());
    ++m_count;
    return message.defaultAnswer;
  }
  int count() const { return m_count; }

 private:
  int m_count = 0;
};

}  // namespace app
