#include "platform/samba/netapi_session.h"

#include "platform/samba/libnetapi.h"

namespace platform::samba {

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

NetapiSession::~NetapiSession() { ::libnetapi_free(m_context); }

}  // namespace platform::samba
