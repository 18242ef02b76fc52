#pragma once
// The libnetapi context of the process, with the credentials it acts with.
// libnetapi keeps one context per process (a second init hands out the
// same one, and freeing either frees both) and its connection cache is not
// safe for concurrent callers: so there is one session per process, shared
// by every backend that is alive, and every call goes through lock().

#include <memory>
#include <mutex>
#include <string>

#include "platform/samba/credentials.h"

struct libnetapi_ctx;

namespace platform::samba {

class NetapiSession {
 public:
  // The process's session, acting with `credentials` from now on (for
  // every backend that shares it). Null with *error set when the library
  // cannot start (for example when Samba's configuration file is missing).
  static std::shared_ptr<NetapiSession> open(const Credentials& credentials, std::string* error);
  // Takes over `context`, freed with the session.
  explicit NetapiSession(libnetapi_ctx* context) : m_context(context) {}
  ~NetapiSession();
  NetapiSession(const NetapiSession&) = delete;
  NetapiSession& operator=(const NetapiSession&) = delete;

  [[nodiscard]] std::unique_lock<std::mutex> lock() { return std::unique_lock(m_mutex); }

 private:
  void actAs(const Credentials& credentials);

  std::mutex m_mutex;
  libnetapi_ctx* m_context;
};

}  // namespace platform::samba
