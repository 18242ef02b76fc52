#pragma once
// How a network backend is told whom to act as. A backend that acts as an
// account (samba) serves this beside its parts; one that needs none (the
// lab) leaves Backend::logon empty. The program asks through this only, so
// it needs no backend's own types (a backend may live in a module).

#include <functional>
#include <optional>
#include <string>

namespace platform {

// What the user is asked when a controller needs an account.
struct LogonRequest {
  std::string server;  // the controller asking ("" before any is reached)
  std::string user;    // the account last tried, offered again
  std::string domain;
  bool refused = false;  // the controller refused that account's password
};

// The user's answer. The password is wiped when the answer goes.
struct LogonAnswer {
  std::string user;
  std::string domain;
  std::string password;

  LogonAnswer() = default;
  LogonAnswer(const LogonAnswer&) = default;
  // Assignment would free the old password's buffer unwiped.
  LogonAnswer& operator=(const LogonAnswer&) = delete;
  ~LogonAnswer();
};

// Asks the user; nothing when they cancel.
using LogonAsker = std::function<std::optional<LogonAnswer>(const LogonRequest&)>;

class NetworkLogon {
 public:
  virtual ~NetworkLogon() = default;
  // True when the backend has an account (or a ticket cache) to act as.
  virtual bool haveAccount() const = 0;
  // From now on the backend asks `asker` when it has no account and again
  // when a controller refuses it.
  virtual void setAsker(LogonAsker asker) = 0;
  // Asks once now (no server yet). False without an asker or on Cancel.
  virtual bool askNow() = 0;
};

// Overwrites `text` in place (the compiler may not leave this out) and
// empties it: a secret must not stay behind in freed memory.
void wipeSecret(std::string& text);

}  // namespace platform
