/* What a controller without a directory keeps of an account only in its
 * account database and libnetapi never sends (its expiry, logon hours,
 * "must change password", "cannot change password"), written there over
 * libnetapi's own pipe (the pipe its other writes of the account go
 * over). */
#ifndef VELTRANE_SAMBA_SAMR_LIMITS_H
#define VELTRANE_SAMBA_SAMR_LIMITS_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct libnetapi_ctx;

/* Each field is set when its set_ flag is. */
struct vt_samr_limits {
  int set_expiry;
  uint64_t acct_expiry; /* NT time; the largest value for never */
  int set_hours;
  const uint8_t* logon_hours; /* 21 bytes, a bit an hour from Sunday 0:00 */
  int set_expired;
  uint8_t password_expired; /* must be changed at the next logon */
  int set_cannot_change;
  uint8_t cannot_change; /* the account may not change its password */
};

/* Writes account's limits to server's account database: its information
 * at level 21, only the fields given, and "cannot change password" in the
 * DACL of the account's object. 2221 for no such account; other codes as
 * rpc_client.h's calls answer them. */
unsigned vt_samr_set_limits(struct libnetapi_ctx* netapi, const char* server, const char* account,
                            const struct vt_samr_limits* limits);

/* Whether account's DACL withholds the change-password right (libnetapi
 * never reports it), into *cannot. */
unsigned vt_samr_cannot_change(struct libnetapi_ctx* netapi, const char* server,
                               const char* account, int* cannot);

#ifdef __cplusplus
}
#endif

#endif
