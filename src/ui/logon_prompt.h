#pragma once
// The logon port: asks for an account and password when a network backend
// has none, or its controller refused them. Plain C++ (the backend's
// wiring in app/ talks to it without Qt); the window installs the Qt
// dialog, tests a scripted one (ui/scripted_logon_prompt.h).

#include <string>

namespace ui {

struct LogonFields {
  std::string server;  // the controller asking; empty before any is reached
  std::string user;    // offered, and the answer
  std::string domain;  // offered, and the answer
  std::string password;  // the answer only; the port's caller wipes it
  bool refused = false;  // the controller refused the offered account
};

class LogonPrompt {
 public:
  virtual ~LogonPrompt() = default;
  // True with the fields filled on OK; false on Cancel. Safe to call from
  // any thread: a worker's call waits for the user's answer.
  virtual bool ask(LogonFields& fields) = 0;
};

}  // namespace ui
