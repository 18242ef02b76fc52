#pragma once
// The message port of the unattended import: nobody is there to answer, so
// each message is one line on standard error at once, answered with its
// default.

#include <cstdio>

#include "app/unattended_messages.h"

namespace app {

class StderrMessages final : public ui::Messages {
 public:
  ui::Answer show(const ui::Message& message) override {
    std::fprintf(stderr, "veltrane: %s\n", messageLine(message).c_str());
    ++m_count;
    return message.defaultAnswer;
  }
  int count() const { return m_count; }

 private:
  int m_count = 0;
};

}  // namespace app
