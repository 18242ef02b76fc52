#include "platform/samba/netapi_session.h"

#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <cstdio>

#include "platform/samba/libnetapi.h"

namespace platform::samba {

SessionLock::SessionLock(NetapiSession& session)
    : m_session(session), m_lock(session.m_mutex, std::defer_lock) {
  lock();
}

SessionLock::~SessionLock() {
  if (m_lock.owns_lock()) unlock();
}

void SessionLock::lock() {
  m_lock.lock();
  // What the program itself wrote goes out before the door closes.
  std::fflush(stdout);
  // Opened once: a browse takes the lock once for every account it shows.
  static const int nowhere = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
  m_savedStdout = ::fcntl(STDOUT_FILENO, F_DUPFD_CLOEXEC, 3);
  if (m_savedStdout >= 0 && nowhere >= 0) ::dup2(nowhere, STDOUT_FILENO);
  m_session.settle();
}

void SessionLock::unlock() {
  std::fflush(stdout);  // the library's lines, into /dev/null
  if (m_savedStdout >= 0) {
    ::dup2(m_savedStdout, STDOUT_FILENO);
    ::close(m_savedStdout);
    m_savedStdout = -1;
  }
  m_lock.unlock();
}

std::shared_ptr<NetapiSession> NetapiSession::open(const Credentials& credentials,
                                                   std::string* error) {
  static std::mutex guard;
  static std::weak_ptr<NetapiSession> current;
  std::lock_guard lock(guard);
  auto session = current.lock();
  if (!session) {
    libnetapi_ctx* context = nullptr;
    if (::libnetapi_init(&context) != 0 || !context) {
      *error = "Samba's network library did not start (is /etc/samba/smb.conf readable?)";
      return nullptr;
    }
    session = std::make_shared<NetapiSession>(context);
    // The library's own debug lines would go to the program's standard error.
    ::libnetapi_set_debuglevel(context, "0");
    current = session;
  }
  auto calls = session->lock();
  session->actAs(credentials);
  return session;
}

void NetapiSession::actAs(const Credentials& credentials) {
  if (!credentials.password.empty()) ::prctl(PR_SET_DUMPABLE, 0, 0, 0, 0);
  const bool same = m_acted && credentials.user == m_actingAs.user &&
                    credentials.domain == m_actingAs.domain &&
                    credentials.password == m_actingAs.password &&
                    credentials.kerberosCache == m_actingAs.kerberosCache;
  if (same) return;
  // The library keeps its connections (and account-database handles on
  // them) per server, whoever made them, and has no call that drops them
  // safely: a fresh context is the way to act as someone else.
  if (m_acted) freshContext();
  m_restartDue = false;
  m_acted = true;
  m_actingAs = credentials;
  apply(credentials);
}

void NetapiSession::apply(const Credentials& credentials) {
  if (!m_context) return;
  if (credentials.haveAccount()) {
    ::libnetapi_set_username(m_context, credentials.user.c_str());
    ::libnetapi_set_password(m_context, credentials.password.c_str());
    if (!credentials.domain.empty()) ::libnetapi_set_workgroup(m_context, credentials.domain.c_str());
  }
  if (credentials.kerberosCache) {
    ::libnetapi_set_use_kerberos(m_context);
    ::libnetapi_set_use_ccache(m_context);
  }
}

void NetapiSession::freshContext() {
  if (m_context) ::libnetapi_free(m_context);
  m_context = nullptr;
  libnetapi_ctx* fresh = nullptr;
  if (::libnetapi_init(&fresh) == 0 && fresh) {
    m_context = fresh;
    ::libnetapi_set_debuglevel(m_context, "0");
  }
}

void NetapiSession::restart() { m_restartDue = m_acted; }

void NetapiSession::settle() {
  if (!m_restartDue) return;
  m_restartDue = false;
  freshContext();
  apply(m_actingAs);
}

NetapiSession::~NetapiSession() {
  if (m_context) ::libnetapi_free(m_context);
}

}  // namespace platform::samba
