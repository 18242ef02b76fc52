/* Samba's DCE/RPC client (the public libdcerpc and the NDR tables of
 * libndr-standard) behind plain C calls, for what libnetapi lacks: the
 * sessions of a server (srvsvc) and its registry (winreg). The call
 * structures are declared here from the interfaces' published definitions;
 * a connect checks each one's size against the library's table, so a
 * library of another layout is refused instead of misread.
 *
 * Every call answers a Windows error code: 0, the server's own answer, or
 * for the transport 121 (no answer in time), 64 (connection dropped), 5,
 * 50 (the library cannot make the call) or another code mapped from the
 * library's status. The account database (SAMR) has its calls in
 * samr_accounts.h. */
#ifndef VELTRANE_SAMBA_RPC_CLIENT_H
#define VELTRANE_SAMBA_RPC_CLIENT_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

struct vt_rpc;

enum vt_rpc_interface { VT_RPC_SRVSVC = 0, VT_RPC_WINREG = 1, VT_RPC_SAMR = 2 };

/* Connects to the interface's pipe on the server at address, signed in as
 * user (or with the Kerberos ticket cache), within connect_seconds; each
 * call later gets timeout_seconds. NULL on failure, with *status (121 when
 * the time ran out) and a message in error (size bytes). */
struct vt_rpc* vt_rpc_connect(enum vt_rpc_interface which, const char* address, const char* user,
                              const char* password, const char* domain, int use_kerberos_cache,
                              int timeout_seconds, int connect_seconds, unsigned* status,
                              char* error, size_t size);
void vt_rpc_free(struct vt_rpc* rpc);
/* 0 once the connection has dropped. */
int vt_rpc_connected(struct vt_rpc* rpc);
/* 0 when every call structure matches the library's; else the name of the
 * first that does not. For the tests. */
const char* vt_rpc_layout_mismatch(void);

/* ---- srvsvc ---- */
struct vt_session {
  const char* client;
  const char* user;
  uint32_t opens;
  uint32_t seconds;
  uint32_t idle_seconds;
  uint32_t flags;
  const char* client_type;
};
typedef void (*vt_session_fn)(void* context, const struct vt_session* session);
/* Every session of the server (level 2), handed over one by one. */
unsigned vt_srvsvc_sessions(struct vt_rpc* rpc, vt_session_fn receive, void* context);
/* Ends the sessions of client and user (NULL: any). */
unsigned vt_srvsvc_session_delete(struct vt_rpc* rpc, const char* client, const char* user);

/* ---- winreg ---- */
struct vt_reg_key {
  unsigned char bytes[20]; /* the server's handle */
};
/* root: 0x80000000 classes root, 0x80000002 local machine, 0x80000003 users. */
unsigned vt_winreg_open_root(struct vt_rpc* rpc, uint32_t root, uint32_t access,
                             struct vt_reg_key* out);
unsigned vt_winreg_open(struct vt_rpc* rpc, const struct vt_reg_key* parent, const char* name,
                        uint32_t access, struct vt_reg_key* out);
/* *disposition: 1 made, 2 opened (may be NULL). */
unsigned vt_winreg_create(struct vt_rpc* rpc, const struct vt_reg_key* parent, const char* name,
                          uint32_t options, uint32_t access, struct vt_reg_key* out,
                          uint32_t* disposition);
unsigned vt_winreg_close(struct vt_rpc* rpc, const struct vt_reg_key* key);
/* Reads a value's stored bytes into data (*size bytes there); *size becomes
 * the stored size. 234 with *size the size needed when they do not fit. */
unsigned vt_winreg_query(struct vt_rpc* rpc, const struct vt_reg_key* key, const char* name,
                         uint32_t* type, uint8_t* data, uint32_t* size);
unsigned vt_winreg_set(struct vt_rpc* rpc, const struct vt_reg_key* key, const char* name,
                       uint32_t type, const uint8_t* data, uint32_t size);
unsigned vt_winreg_delete_value(struct vt_rpc* rpc, const struct vt_reg_key* key, const char* name);
/* The value at index: its name (UTF-8, into name of name_capacity bytes),
 * type and bytes as for vt_winreg_query. 259 past the last. */
unsigned vt_winreg_enum_value(struct vt_rpc* rpc, const struct vt_reg_key* key, uint32_t index,
                              char* name, size_t name_capacity, uint32_t* type, uint8_t* data,
                              uint32_t* size);

#ifdef __cplusplus
}
#endif

#endif
