/* The accounts of a server's own domain read over its account database
 * pipe (SAMR), many requests in flight at once: what libnetapi's level-3
 * enumeration gives, without its two further calls an account (groups,
 * aliases) and without waiting for each answer before the next question.
 * For controllers without a directory (NT4-style).
 *
 * The list of accounts comes over libnetapi's own pipe to the server: a
 * server answers it from a cache of the process that serves the pipe
 * (for some seconds), so a list over another pipe may lack an account
 * libnetapi added a moment ago. Each account is then read over a pipe of
 * the program's own, many at once, which libnetapi's cannot.
 *
 * Codes as rpc_client.h's calls answer them. */
#ifndef VELTRANE_SAMBA_SAMR_ACCOUNTS_H
#define VELTRANE_SAMBA_SAMR_ACCOUNTS_H

#include <stddef.h>
#include <stdint.h>

#include "rpc_client.h"

#ifdef __cplusplus
extern "C" {
#endif

/* One account as the account database keeps it: texts in UTF-8 (never
 * NULL), times as NT times (100 ns units since 1601; 0 for none). Valid
 * during the call that hands it over. */
struct vt_samr_account {
  uint32_t rid;
  uint32_t primary_gid;
  uint32_t acct_flags; /* the account-control (ACB) bits */
  const char* name;
  const char* full_name;
  const char* home_directory;
  const char* home_drive;
  const char* logon_script;
  const char* profile_path;
  const char* description;
  const char* workstations;
  const char* comment;
  const uint8_t* parameters; /* UTF-16LE as kept, parameters_size bytes */
  size_t parameters_size;
  uint64_t last_logon;
  uint64_t last_logoff;
  uint64_t last_password_change;
  uint64_t acct_expiry;
  uint16_t units_per_week;
  const uint8_t* logon_hours; /* units_per_week / 8 bytes, or NULL */
  uint16_t bad_password_count;
  uint16_t logon_count;
  uint16_t country_code;
  uint16_t code_page;
  uint8_t password_expired;
  /* Whether the account's DACL withholds the change-password right from
   * Everyone, as account managers write "User cannot change password". */
  uint8_t cannot_change_password;
};
typedef void (*vt_samr_account_fn)(void* context, const struct vt_samr_account* account);

struct libnetapi_ctx;

/* Every account of server's domain whose control bits share one with
 * acb_filter (0: every account), in the server's own order, handed over one
 * by one; an account removed while it is read is left out. netapi acts for
 * the same account as rpc, a connection to server's SAMR interface. */
unsigned vt_samr_accounts(struct libnetapi_ctx* netapi, struct vt_rpc* rpc, const char* server,
                          uint32_t acb_filter, vt_samr_account_fn receive, void* context);

#ifdef __cplusplus
}
#endif

#endif
