/* What the calls of an interface kept in a file of their own need of an
 * RPC connection (rpc_client.h). C only: it names Samba's own types. */
#ifndef VELTRANE_SAMBA_RPC_CLIENT_PARTS_H
#define VELTRANE_SAMBA_RPC_CLIENT_PARTS_H

/* Samba's data blob header, pulled in by credentials.h, must come first. */
#include <credentials.h>
#include <dcerpc.h>
#include <tevent.h>

#include "rpc_client.h"

struct dcerpc_binding_handle* vt_rpc_binding(struct vt_rpc* rpc);
struct tevent_context* vt_rpc_events(struct vt_rpc* rpc);
const struct ndr_interface_table* vt_rpc_table(struct vt_rpc* rpc);
/* The Windows code of a library status: 0 for success; 121 no answer in
 * time, 64 the connection dropped, 53 the server is not there, 5, 1326,
 * 50 (the call cannot be made), 8, else 59. */
unsigned vt_rpc_code(NTSTATUS status);
/* The same, noting on rpc a dropped connection or a call that timed out. */
unsigned vt_rpc_noted(struct vt_rpc* rpc, NTSTATUS status);

#endif
