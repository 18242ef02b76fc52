/* The credentials Samba's LDAP and RPC clients sign in with: an account
 * (user, password, domain) or the Kerberos ticket cache. C only: Samba's
 * credentials header does not compile as C++. */
#ifndef VELTRANE_SAMBA_CLIENT_CREDENTIALS_H
#define VELTRANE_SAMBA_CLIENT_CREDENTIALS_H

#include <credentials.h>
#include <param.h>
#include <talloc.h>

/* Made under owner with the configuration lp; an empty user leaves the
 * account to the configuration (anonymous). */
struct cli_credentials* vt_client_credentials(TALLOC_CTX* owner, struct loadparm_context* lp,
                                              const char* user, const char* password,
                                              const char* domain, int use_kerberos_cache);

#endif
