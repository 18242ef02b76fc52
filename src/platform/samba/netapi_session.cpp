#include "platform/samba/netapi_session.h"

#include "platform/samba/libnetapi.h"

namespace platform::samba {

std::unique_ptr<NetapiSession> NetapiSession::open(const Credentials& credentials,
                                                   std::string* error) {
  libnetapi_ctx* context = nullptr;
  if (::libnetapi_init(&context) != 0 || !context) {
    *error = "Samba's network library did not start (is /etc/samba/smb.conf readable?)";
    return nullptr;
  }
  auto session = std::make_unique<NetapiSession>(context);
  // The library's own debug lines would go to the program's standard error.
  ::libnetapi_set_debuglevel(context, "0");
  if (credentials.haveAccount()) {
    ::libnetapi_set_username(context, credentials.user.c_str());
    ::libnetapi_set_password(context, credentials.password.c_str());
    if (!credentials.domain.empty()) ::libnetapi_set_workgroup(context, credentials.domain.c_str());
  }
  if (credentials.kerberosCache) {
    ::libnetapi_set_use_kerberos(context);
    ::libnetapi_set_use_ccache(context);
  }
  return session;
}

NetapiSession::~NetapiSession() { ::libnetapi_free(m_context); }

}  // namespace platform::samba
