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

class NetapiSession;

// Holds the session for a run of library calls. While held, the process's
// standard output goes nowhere: the library prints "session setup failed"
// there when credentials are refused, which would end up inside an export
// written to standard output. unlock() gives both back (while the user is
// asked for a password, for example), lock() takes them again. Taking the
// session is also when a restart asked for meanwhile happens (see restart()).
class SessionLock {
 public:
  explicit SessionLock(NetapiSession& session);
  ~SessionLock();
  SessionLock(const SessionLock&) = delete;
  SessionLock& operator=(const SessionLock&) = delete;

  void lock();
  void unlock();

 private:
  NetapiSession& m_session;
  std::unique_lock<std::mutex> m_lock;
  int m_savedStdout = -1;
};

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

  [[nodiscard]] SessionLock lock() { return SessionLock(*this); }

  // Acts with `credentials` from the next connection on. Expects the lock,
  // and no buffer of the library alive (a new account is a fresh context).
  // A password in the process also keeps it out of core dumps.
  void actAs(const Credentials& credentials);
  // Drops every connection the library holds (a fresh context acting as
  // before) the next time the session is taken. Not at once: freeing the
  // context frees every result buffer the library handed out from it, and
  // the call that found the connection dead still holds its own, which it
  // frees when it returns. Expects the lock.
  void restart();
  // The library's context, for the calls it serves only through its own
  // pipes (see samr_accounts.h); null when it failed to start again.
  // Expects the lock.
  libnetapi_ctx* context() const { return m_context; }

 private:
  friend class SessionLock;
  // Called with the lock just taken, when no call's buffer is alive.
  void settle();
  void freshContext();
  void apply(const Credentials& credentials);

  std::mutex m_mutex;
  libnetapi_ctx* m_context;  // null when the library failed to start again
  bool m_acted = false;
  bool m_restartDue = false;
  Credentials m_actingAs;  // what m_context was told
};

}  // namespace platform::samba
