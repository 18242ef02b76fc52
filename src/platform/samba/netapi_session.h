#pragma once
// The libnetapi context of the process, with the credentials it acts with.
// libnetapi keeps one context per process and its connection cache is not
// safe for concurrent callers, so every call goes through lock().

#include <memory>
#include <mutex>
#include <string>

#include "platform/samba/credentials.h"

struct libnetapi_ctx;

namespace platform::samba {

class NetapiSession {
 public:
  // Null with *error set when the library cannot start (for example when
  // Samba's configuration file is missing).
  static std::unique_ptr<NetapiSession> open(const Credentials& credentials, std::string* error);
  // Takes over `context`, freed with the session.
  explicit NetapiSession(libnetapi_ctx* context) : m_context(context) {}
  ~NetapiSession();
  NetapiSession(const NetapiSession&) = delete;
  NetapiSession& operator=(const NetapiSession&) = delete;

  [[nodiscard]] std::unique_lock<std::mutex> lock() { return std::unique_lock(m_mutex); }

 private:
  std::mutex m_mutex;
  libnetapi_ctx* m_context;
};

}  // namespace platform::samba
