#include "client_credentials.h"

struct cli_credentials* vt_client_credentials(TALLOC_CTX* owner, struct loadparm_context* lp,
                                              const char* user, const char* password,
                                              const char* domain, int use_kerberos_cache) {
  struct cli_credentials* creds = cli_credentials_init(owner);
  if (!creds) return NULL;
  cli_credentials_set_conf(creds, lp);
  if (user && *user) {
    cli_credentials_set_username(creds, user, CRED_SPECIFIED);
    cli_credentials_set_password(creds, password ? password : "", CRED_SPECIFIED);
    if (domain && *domain) cli_credentials_set_domain(creds, domain, CRED_SPECIFIED);
  }
  if (use_kerberos_cache) {
    const char* why = NULL;
    cli_credentials_set_kerberos_state(creds, CRED_USE_KERBEROS_REQUIRED, CRED_SPECIFIED);
    cli_credentials_set_ccache(creds, lp, NULL, CRED_SPECIFIED, &why);
  }
  return creds;
}
