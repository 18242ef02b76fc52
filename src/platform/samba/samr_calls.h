/* The account database's (SAMR) calls the reading and the writing of
 * accounts share: a pipe, one call waited for, the connect and domain
 * handles, and the codes. C only: it names Samba's own types. The
 * structures are those of the public gen_ndr/samr.h, checked against the
 * library's table before any call. */
#ifndef VELTRANE_SAMBA_SAMR_CALLS_H
#define VELTRANE_SAMBA_SAMR_CALLS_H

#include <stdbool.h>
#include <stdint.h>

#include "rpc_client_parts.h"

#include <gen_ndr/ndr_samr.h>
#include <gen_ndr/samr.h>
#include <gen_ndr/security.h>
#include <talloc.h>

extern const struct ndr_interface_table ndr_table_samr;

struct libnetapi_ctx;

/* Both exported by public Samba libraries whose headers do not declare
 * them: the binding of the pipe libnetapi keeps to a server for an
 * interface (opened when it has none), and the frame its calls expect to
 * allocate their passing memory on. */
WERROR libnetapi_get_binding_handle(struct libnetapi_ctx* ctx, const char* server_name,
                                    const struct ndr_interface_table* table,
                                    struct dcerpc_binding_handle** binding_handle);
TALLOC_CTX* _talloc_stackframe(const char* location);

/* A pipe the calls go over: libnetapi's (own == NULL) or a connection of
 * the program's own. */
struct samr_pipe {
  struct dcerpc_binding_handle* binding;
  struct vt_rpc* own;
};

/* libnetapi's pipe to server, acting as netapi does. */
unsigned samr_shared_pipe(struct libnetapi_ctx* netapi, const char* server,
                          struct samr_pipe* out);

/* NULL when the calls' structures match the library's table, else the name
 * of the first that does not. */
const char* samr_layout_mismatch(void);

/* The transport's code for status (noting a dropped connection or a call
 * that timed out on a pipe of the program's own). */
unsigned samr_transport_code(const struct samr_pipe* pipe, NTSTATUS status);
/* The Windows code of a call's own answer. */
unsigned samr_result_code(NTSTATUS result);
/* One call, waited for: the transport's code, else the call's answer.
 * What a call answers is read through its out pointers, since libnetapi's
 * binding allocates them afresh rather than filling those it was given. */
unsigned samr_call(const struct samr_pipe* pipe, uint32_t opnum, TALLOC_CTX* mem, void* r,
                   const NTSTATUS* result);
/* Closes handle when the pipe is still connected; its answer is ignored. */
void samr_close(const struct samr_pipe* pipe, struct policy_handle* handle);
unsigned samr_connect(const struct samr_pipe* pipe, TALLOC_CTX* mem, struct policy_handle* out);
unsigned samr_open_domain(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                          struct policy_handle* connect, struct dom_sid2* sid,
                          struct policy_handle* out);

/* Connects and opens the server's own domain, its SID under mem; on
 * failure nothing stays open. */
unsigned samr_open_server_domain(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                                 struct policy_handle* connect, struct policy_handle* domain,
                                 struct dom_sid2** sid);
/* The DACL of the object handle names, under mem (NULL for none). */
unsigned samr_query_dacl(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                         struct policy_handle* handle, struct security_descriptor** out);

/* Whether sid is Everyone (S-1-1-0). */
bool samr_is_everyone(const struct dom_sid* sid);
/* "User cannot change password" as account managers keep it in the DACL of
 * the account's object: Everyone not allowed the change-password right, or
 * denied it. No DACL at all denies nothing. */
bool samr_withholds_change(const struct security_descriptor* sd);

#endif
