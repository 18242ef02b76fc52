#include "rpc_client.h"

#include <stdbool.h>
#include <stdio.h>
#include <string.h>

/* Samba's data blob header, pulled in by credentials.h, must come first. */
#include <credentials.h>
#include <dcerpc.h>
#include <gen_ndr/misc.h>
#include <param.h>
#include <talloc.h>
#include <tevent.h>

#include "client_credentials.h"
#include "connect_watch.h"
#include "rpc_client_parts.h"

extern const struct ndr_interface_table ndr_table_srvsvc;
extern const struct ndr_interface_table ndr_table_winreg;
extern const struct ndr_interface_table ndr_table_samr;

/* ---- The call structures, in the layout the NDR tables push and pull:
 * for each call the parameters sent (those only sent, then those sent and
 * answered) and those answered (those only answered, then those sent and
 * answered, then the result), each in its declared order. ---- */

struct vt_NetSessInfo1 {
  const char* client;
  const char* user;
  uint32_t num_open;
  uint32_t time;
  uint32_t idle_time;
  uint32_t user_flags;
};
struct vt_NetSessCtr1 {
  uint32_t count;
  struct vt_NetSessInfo1* array;
};
struct vt_NetSessInfo2 {
  const char* client;
  const char* user;
  uint32_t num_open;
  uint32_t time;
  uint32_t idle_time;
  uint32_t user_flags;
  const char* client_type;
};
struct vt_NetSessCtr2 {
  uint32_t count;
  struct vt_NetSessInfo2* array;
};
struct vt_NetSessInfoCtr {
  uint32_t level;
  union {
    struct vt_NetSessCtr1* ctr1; /* every case of the union is a pointer */
    struct vt_NetSessCtr2* ctr2;
  } ctr;
};
struct vt_srvsvc_NetSessEnum {
  struct {
    const char* server_unc;
    const char* client;
    const char* user;
    uint32_t max_buffer;
    struct vt_NetSessInfoCtr* info_ctr;
    uint32_t* resume_handle;
  } in;
  struct {
    uint32_t* totalentries;
    struct vt_NetSessInfoCtr* info_ctr;
    uint32_t* resume_handle;
    WERROR result;
  } out;
};
struct vt_srvsvc_NetSessDel {
  struct {
    const char* server_unc;
    const char* client;
    const char* user;
  } in;
  struct {
    WERROR result;
  } out;
};

struct vt_winreg_String {
  uint16_t name_len; /* both set from name when sent */
  uint16_t name_size;
  const char* name;
};
struct vt_winreg_ValNameBuf {
  uint16_t length; /* set from name when sent */
  uint16_t size;   /* the room the server may fill */
  const char* name;
};
/* OpenHKCR, OpenHKLM and OpenHKU share this layout. */
struct vt_winreg_OpenRoot {
  struct {
    uint16_t* system_name;
    uint32_t access_mask;
  } in;
  struct {
    struct policy_handle* handle;
    WERROR result;
  } out;
};
struct vt_winreg_CloseKey {
  struct {
    struct policy_handle* handle;
  } in;
  struct {
    struct policy_handle* handle;
    WERROR result;
  } out;
};
struct vt_winreg_CreateKey {
  struct {
    struct policy_handle* handle;
    struct vt_winreg_String name;
    struct vt_winreg_String keyclass;
    uint32_t options;
    uint32_t access_mask;
    void* secdesc;
    uint32_t* action_taken;
  } in;
  struct {
    struct policy_handle* new_handle;
    uint32_t* action_taken;
    WERROR result;
  } out;
};
struct vt_winreg_DeleteValue {
  struct {
    struct policy_handle* handle;
    struct vt_winreg_String value;
  } in;
  struct {
    WERROR result;
  } out;
};
struct vt_winreg_EnumValue {
  struct {
    struct policy_handle* handle;
    uint32_t enum_index;
    struct vt_winreg_ValNameBuf* name;
    uint32_t* type;
    uint8_t* value;
    uint32_t* size;
    uint32_t* length;
  } in;
  struct {
    struct vt_winreg_ValNameBuf* name;
    uint32_t* type;
    uint8_t* value;
    uint32_t* size;
    uint32_t* length;
    WERROR result;
  } out;
};
struct vt_winreg_OpenKey {
  struct {
    struct policy_handle* parent_handle;
    struct vt_winreg_String keyname;
    uint32_t options;
    uint32_t access_mask;
  } in;
  struct {
    struct policy_handle* handle;
    WERROR result;
  } out;
};
struct vt_winreg_QueryValue {
  struct {
    struct policy_handle* handle;
    struct vt_winreg_String* value_name;
    uint32_t* type;
    uint8_t* data;
    uint32_t* data_size;
    uint32_t* data_length;
  } in;
  struct {
    uint32_t* type;
    uint8_t* data;
    uint32_t* data_size;
    uint32_t* data_length;
    WERROR result;
  } out;
};
struct vt_winreg_SetValue {
  struct {
    struct policy_handle* handle;
    struct vt_winreg_String name;
    uint32_t type;
    uint8_t* data;
    uint32_t size;
  } in;
  struct {
    WERROR result;
  } out;
};

/* Each call by its operation number, with the name and size its table
 * entry must have. */
struct call_layout {
  const struct ndr_interface_table* table;
  uint32_t opnum;
  const char* name;
  size_t size;
};
enum {
  SESS_ENUM,
  SESS_DEL,
  OPEN_HKCR,
  OPEN_HKLM,
  OPEN_HKU,
  CLOSE_KEY,
  CREATE_KEY,
  DELETE_VALUE,
  ENUM_VALUE,
  OPEN_KEY,
  QUERY_VALUE,
  SET_VALUE,
  CALL_COUNT
};
static const struct call_layout kCalls[CALL_COUNT] = {
    {&ndr_table_srvsvc, 12, "srvsvc_NetSessEnum", sizeof(struct vt_srvsvc_NetSessEnum)},
    {&ndr_table_srvsvc, 13, "srvsvc_NetSessDel", sizeof(struct vt_srvsvc_NetSessDel)},
    {&ndr_table_winreg, 0, "winreg_OpenHKCR", sizeof(struct vt_winreg_OpenRoot)},
    {&ndr_table_winreg, 2, "winreg_OpenHKLM", sizeof(struct vt_winreg_OpenRoot)},
    {&ndr_table_winreg, 4, "winreg_OpenHKU", sizeof(struct vt_winreg_OpenRoot)},
    {&ndr_table_winreg, 5, "winreg_CloseKey", sizeof(struct vt_winreg_CloseKey)},
    {&ndr_table_winreg, 6, "winreg_CreateKey", sizeof(struct vt_winreg_CreateKey)},
    {&ndr_table_winreg, 8, "winreg_DeleteValue", sizeof(struct vt_winreg_DeleteValue)},
    {&ndr_table_winreg, 10, "winreg_EnumValue", sizeof(struct vt_winreg_EnumValue)},
    {&ndr_table_winreg, 15, "winreg_OpenKey", sizeof(struct vt_winreg_OpenKey)},
    {&ndr_table_winreg, 17, "winreg_QueryValue", sizeof(struct vt_winreg_QueryValue)},
    {&ndr_table_winreg, 22, "winreg_SetValue", sizeof(struct vt_winreg_SetValue)},
};

const char* vt_rpc_layout_mismatch(void) {
  for (int i = 0; i < CALL_COUNT; ++i) {
    const struct call_layout* c = &kCalls[i];
    if (c->opnum >= c->table->num_calls) return c->name;
    const struct ndr_interface_call* entry = &c->table->calls[c->opnum];
    if (strcmp(entry->name, c->name) != 0 || entry->struct_size != c->size) return c->name;
  }
  return NULL;
}

struct vt_rpc {
  struct tevent_context* events;
  struct dcerpc_pipe* pipe;
  const struct ndr_interface_table* table;
  bool dropped;
};

unsigned vt_rpc_code(NTSTATUS status) {
  switch (NT_STATUS_V(status)) {
    case 0:
      return 0;
    case 0xC00000B5: /* IO_TIMEOUT */
      return 121;
    case 0xC000020C: /* CONNECTION_DISCONNECTED */
    case 0xC000020D: /* CONNECTION_RESET */
    case 0xC000014B: /* PIPE_BROKEN */
    case 0xC00000B0: /* PIPE_DISCONNECTED */
    case 0xC0000011: /* END_OF_FILE */
    case 0xC00000C3: /* INVALID_NETWORK_RESPONSE */
    case 0xC000013B: /* LOCAL_DISCONNECT */
    case 0xC000013C: /* REMOTE_DISCONNECT */
      return 64;
    case 0xC0000236: /* CONNECTION_REFUSED */
    case 0xC000023C: /* NETWORK_UNREACHABLE */
    case 0xC000023D: /* HOST_UNREACHABLE */
    case 0xC00000BE: /* BAD_NETWORK_PATH */
    case 0xC00000CC: /* BAD_NETWORK_NAME */
      return 53;
    case 0xC0000022: /* ACCESS_DENIED */
      return 5;
    case 0xC000006D: /* LOGON_FAILURE */
    case 0xC000006A: /* WRONG_PASSWORD */
    case 0xC0000064: /* NO_SUCH_USER */
      return 1326;
    case 0xC0000034: /* OBJECT_NAME_NOT_FOUND: no such pipe */
    case 0xC0000039: /* OBJECT_PATH_INVALID */
    case 0xC00000BB: /* NOT_SUPPORTED */
    case 0xC002002E: /* RPC_PROCNUM_OUT_OF_RANGE */
    case 0xC0020031: /* RPC_UNSUPPORTED_... */
    case 0xC0000002: /* NOT_IMPLEMENTED */
      return 50;
    case 0xC0000017: /* NO_MEMORY */
      return 8;
    default:
      return 59; /* an unexpected network error */
  }
}

struct vt_rpc* vt_rpc_connect(enum vt_rpc_interface which, const char* address, const char* user,
                              const char* password, const char* domain, int use_kerberos_cache,
                              int timeout_seconds, int connect_seconds, unsigned* status,
                              char* error, size_t size) {
  static bool ready = false;
  const char* mismatch = vt_rpc_layout_mismatch();
  if (mismatch) {
    *status = 50;
    snprintf(error, size, "this Samba's RPC library lays out %s differently", mismatch);
    return NULL;
  }
  if (!ready) {
    if (!NT_STATUS_IS_OK(dcerpc_init())) {
      *status = 50;
      snprintf(error, size, "Samba's RPC library does not start");
      return NULL;
    }
    ready = true;
  }
  struct vt_rpc* rpc = talloc_zero(NULL, struct vt_rpc);
  rpc->events = rpc ? tevent_context_init(rpc) : NULL;
  if (!rpc || !rpc->events) {
    talloc_free(rpc);
    *status = 8;
    snprintf(error, size, "out of memory");
    return NULL;
  }
  rpc->table = which == VT_RPC_WINREG ? &ndr_table_winreg
               : which == VT_RPC_SAMR ? &ndr_table_samr
                                      : &ndr_table_srvsvc;
  struct loadparm_context* lp = loadparm_init_global(true);
  struct cli_credentials* creds =
      vt_client_credentials(rpc, lp, user, password, domain, use_kerberos_cache);
  char* binding = talloc_asprintf(rpc, "ncacn_np:%s", address);
  /* The connect has no time limit of its own (see connect_watch.h). */
  struct vt_connect_watch watch;
  vt_connect_watch_start(&watch, rpc, rpc->events, 445, connect_seconds);
  const NTSTATUS connected =
      dcerpc_pipe_connect(rpc, &rpc->pipe, binding, rpc->table, creds, rpc->events, lp);
  const bool fired = vt_connect_watch_end(&watch);
  if (!NT_STATUS_IS_OK(connected)) {
    *status = fired ? 121 : vt_rpc_code(connected);
    if (fired)
      snprintf(error, size, "no answer within %d seconds", connect_seconds);
    else
      snprintf(error, size, "status 0x%08X", (unsigned)NT_STATUS_V(connected));
    talloc_free(rpc);
    return NULL;
  }
  dcerpc_binding_handle_set_timeout(rpc->pipe->binding_handle, (uint32_t)timeout_seconds);
  *status = 0;
  return rpc;
}

void vt_rpc_free(struct vt_rpc* rpc) { talloc_free(rpc); }

int vt_rpc_connected(struct vt_rpc* rpc) {
  return !rpc->dropped && dcerpc_binding_handle_is_connected(rpc->pipe->binding_handle);
}

struct dcerpc_binding_handle* vt_rpc_binding(struct vt_rpc* rpc) {
  return rpc->pipe->binding_handle;
}

struct tevent_context* vt_rpc_events(struct vt_rpc* rpc) { return rpc->events; }

const struct ndr_interface_table* vt_rpc_table(struct vt_rpc* rpc) { return rpc->table; }

unsigned vt_rpc_noted(struct vt_rpc* rpc, NTSTATUS status) {
  const unsigned code = vt_rpc_code(status);
  if (code == 64 || code == 121) rpc->dropped = true;
  return code;
}

/* Makes call `which` with r; the answer's memory goes under mem. 0 when
 * the server answered (its answer is in r), else the transport's code. */
static unsigned call(struct vt_rpc* rpc, int which, void* r, TALLOC_CTX* mem) {
  const struct call_layout* c = &kCalls[which];
  if (c->table != rpc->table) return 50;
  const NTSTATUS status =
      dcerpc_binding_handle_call(rpc->pipe->binding_handle, NULL, c->table, c->opnum, mem, r);
  return vt_rpc_noted(rpc, status);
}

/* A call whose answer is its result alone. */
static unsigned call_for_result(struct vt_rpc* rpc, int which, void* r, const WERROR* result) {
  TALLOC_CTX* mem = talloc_new(rpc);
  const unsigned status = call(rpc, which, r, mem);
  talloc_free(mem);
  return status ? status : W_ERROR_V(*result);
}

/* ---- srvsvc ---- */

/* One level's enumeration; 124 when the server does not serve it. */
static unsigned sessions_at(struct vt_rpc* rpc, uint32_t level, vt_session_fn receive,
                            void* context) {
  uint32_t resume = 0;
  for (;;) {
    TALLOC_CTX* mem = talloc_new(rpc);
    struct vt_NetSessCtr1 ctr1 = {0, NULL};
    struct vt_NetSessCtr2 ctr2 = {0, NULL};
    struct vt_NetSessInfoCtr info;
    info.level = level;
    if (level == 1)
      info.ctr.ctr1 = &ctr1;
    else
      info.ctr.ctr2 = &ctr2;
    uint32_t total = 0;
    struct vt_srvsvc_NetSessEnum r;
    memset(&r, 0, sizeof r);
    r.in.max_buffer = 0xFFFFFFFF;
    r.in.info_ctr = &info;
    r.in.resume_handle = &resume;
    r.out.totalentries = &total;
    r.out.info_ctr = &info;
    r.out.resume_handle = &resume;
    const unsigned status = call(rpc, SESS_ENUM, &r, mem);
    const unsigned answer = status ? status : W_ERROR_V(r.out.result);
    const bool more = answer == 234; /* ERROR_MORE_DATA */
    if ((answer == 0 || more) && r.out.info_ctr) {
      if (level == 1) {
        const struct vt_NetSessCtr1* got = r.out.info_ctr->ctr.ctr1;
        for (uint32_t i = 0; got && got->array && i < got->count; ++i) {
          const struct vt_NetSessInfo1* s = &got->array[i];
          const struct vt_session session = {s->client,    s->user,       s->num_open, s->time,
                                             s->idle_time, s->user_flags, NULL};
          receive(context, &session);
        }
      } else {
        const struct vt_NetSessCtr2* got = r.out.info_ctr->ctr.ctr2;
        for (uint32_t i = 0; got && got->array && i < got->count; ++i) {
          const struct vt_NetSessInfo2* s = &got->array[i];
          const struct vt_session session = {s->client,    s->user,       s->num_open,   s->time,
                                             s->idle_time, s->user_flags, s->client_type};
          receive(context, &session);
        }
      }
      if (r.out.resume_handle) resume = *r.out.resume_handle;
    }
    talloc_free(mem);
    if (!more || resume == 0) return more ? 0 : answer;
  }
}

unsigned vt_srvsvc_sessions(struct vt_rpc* rpc, vt_session_fn receive, void* context) {
  /* Level 2 adds the client's type; Samba serves only levels 0 and 1. */
  const unsigned status = sessions_at(rpc, 2, receive, context);
  return status == 124 ? sessions_at(rpc, 1, receive, context) : status;
}

unsigned vt_srvsvc_session_delete(struct vt_rpc* rpc, const char* client, const char* user) {
  struct vt_srvsvc_NetSessDel r;
  memset(&r, 0, sizeof r);
  r.in.client = client;
  r.in.user = user;
  return call_for_result(rpc, SESS_DEL, &r, &r.out.result);
}

/* ---- winreg ---- */

static void to_handle(const struct vt_reg_key* key, struct policy_handle* handle) {
  memcpy(&handle->handle_type, key->bytes, 4);
  memcpy(&handle->uuid, key->bytes + 4, 16);
}

static void from_handle(const struct policy_handle* handle, struct vt_reg_key* key) {
  memcpy(key->bytes, &handle->handle_type, 4);
  memcpy(key->bytes + 4, &handle->uuid, 16);
}

unsigned vt_winreg_open_root(struct vt_rpc* rpc, uint32_t root, uint32_t access,
                             struct vt_reg_key* out) {
  int which;
  switch (root) {
    case 0x80000000u:
      which = OPEN_HKCR;
      break;
    case 0x80000002u:
      which = OPEN_HKLM;
      break;
    case 0x80000003u:
      which = OPEN_HKU;
      break;
    default:
      return 6; /* ERROR_INVALID_HANDLE */
  }
  struct policy_handle handle;
  memset(&handle, 0, sizeof handle);
  struct vt_winreg_OpenRoot r;
  memset(&r, 0, sizeof r);
  r.in.access_mask = access;
  r.out.handle = &handle;
  TALLOC_CTX* mem = talloc_new(rpc);
  unsigned status = call(rpc, which, &r, mem);
  if (!status) status = W_ERROR_V(r.out.result);
  if (!status) from_handle(&handle, out);
  talloc_free(mem);
  return status;
}

unsigned vt_winreg_open(struct vt_rpc* rpc, const struct vt_reg_key* parent, const char* name,
                        uint32_t access, struct vt_reg_key* out) {
  struct policy_handle from, handle;
  to_handle(parent, &from);
  memset(&handle, 0, sizeof handle);
  struct vt_winreg_OpenKey r;
  memset(&r, 0, sizeof r);
  r.in.parent_handle = &from;
  r.in.keyname.name = name;
  r.in.access_mask = access;
  r.out.handle = &handle;
  TALLOC_CTX* mem = talloc_new(rpc);
  unsigned status = call(rpc, OPEN_KEY, &r, mem);
  if (!status) status = W_ERROR_V(r.out.result);
  if (!status) from_handle(&handle, out);
  talloc_free(mem);
  return status;
}

unsigned vt_winreg_create(struct vt_rpc* rpc, const struct vt_reg_key* parent, const char* name,
                          uint32_t options, uint32_t access, struct vt_reg_key* out,
                          uint32_t* disposition) {
  struct policy_handle from, handle;
  to_handle(parent, &from);
  memset(&handle, 0, sizeof handle);
  uint32_t action = 0;
  struct vt_winreg_CreateKey r;
  memset(&r, 0, sizeof r);
  r.in.handle = &from;
  r.in.name.name = name;
  r.in.keyclass.name = "";
  r.in.options = options;
  r.in.access_mask = access;
  r.in.action_taken = &action;
  r.out.new_handle = &handle;
  r.out.action_taken = &action;
  TALLOC_CTX* mem = talloc_new(rpc);
  unsigned status = call(rpc, CREATE_KEY, &r, mem);
  if (!status) status = W_ERROR_V(r.out.result);
  if (!status) {
    from_handle(&handle, out);
    if (disposition) *disposition = r.out.action_taken ? *r.out.action_taken : 0;
  }
  talloc_free(mem);
  return status;
}

unsigned vt_winreg_close(struct vt_rpc* rpc, const struct vt_reg_key* key) {
  struct policy_handle handle;
  to_handle(key, &handle);
  struct vt_winreg_CloseKey r;
  memset(&r, 0, sizeof r);
  r.in.handle = &handle;
  r.out.handle = &handle;
  return call_for_result(rpc, CLOSE_KEY, &r, &r.out.result);
}

/* A value the server answered (its type, bytes, the room it needs and the
 * bytes it sent) into the caller's type and data (*size bytes there):
 * *size becomes the stored size, or with 234 the size needed. */
static unsigned take_value(unsigned status, const uint32_t* answered_type, const uint8_t* answered,
                           const uint32_t* answered_size, const uint32_t* answered_length,
                           uint32_t* type, uint8_t* data, uint32_t* size) {
  if (type && answered_type) *type = *answered_type;
  const uint32_t stored = answered_length ? *answered_length : 0;
  const uint32_t needed = answered_size ? *answered_size : stored;
  if (status == 234 || stored > *size) {
    *size = needed > stored ? needed : stored;
    return 234;
  }
  if (stored && answered) memcpy(data, answered, stored);
  *size = stored;
  return 0;
}

unsigned vt_winreg_query(struct vt_rpc* rpc, const struct vt_reg_key* key, const char* name,
                         uint32_t* type, uint8_t* data, uint32_t* size) {
  struct policy_handle handle;
  to_handle(key, &handle);
  struct vt_winreg_String value_name = {0, 0, name};
  uint32_t value_type = 0, capacity = *size, length = 0;
  uint8_t empty = 0;
  struct vt_winreg_QueryValue r;
  memset(&r, 0, sizeof r);
  r.in.handle = &handle;
  r.in.value_name = &value_name;
  r.in.type = &value_type;
  r.in.data = data ? data : &empty;
  r.in.data_size = &capacity;
  r.in.data_length = &length;
  TALLOC_CTX* mem = talloc_new(rpc);
  unsigned status = call(rpc, QUERY_VALUE, &r, mem);
  if (!status) status = W_ERROR_V(r.out.result);
  if (status == 0 || status == 234)
    status = take_value(status, r.out.type, r.out.data, r.out.data_size, r.out.data_length, type,
                        data, size);
  talloc_free(mem);
  return status;
}

unsigned vt_winreg_set(struct vt_rpc* rpc, const struct vt_reg_key* key, const char* name,
                       uint32_t type, const uint8_t* data, uint32_t size) {
  struct policy_handle handle;
  to_handle(key, &handle);
  uint8_t empty = 0;
  struct vt_winreg_SetValue r;
  memset(&r, 0, sizeof r);
  r.in.handle = &handle;
  r.in.name.name = name;
  r.in.type = type;
  r.in.data = size ? (uint8_t*)data : &empty;
  r.in.size = size;
  return call_for_result(rpc, SET_VALUE, &r, &r.out.result);
}

unsigned vt_winreg_delete_value(struct vt_rpc* rpc, const struct vt_reg_key* key,
                                const char* name) {
  struct policy_handle handle;
  to_handle(key, &handle);
  struct vt_winreg_DeleteValue r;
  memset(&r, 0, sizeof r);
  r.in.handle = &handle;
  r.in.value.name = name;
  return call_for_result(rpc, DELETE_VALUE, &r, &r.out.result);
}

unsigned vt_winreg_enum_value(struct vt_rpc* rpc, const struct vt_reg_key* key, uint32_t index,
                              char* name, size_t name_capacity, uint32_t* type, uint8_t* data,
                              uint32_t* size) {
  struct policy_handle handle;
  to_handle(key, &handle);
  /* Room for the longest value name a registry keeps. */
  struct vt_winreg_ValNameBuf name_buf = {0, 16383 * 2, ""};
  uint32_t value_type = 0, capacity = *size, length = 0;
  uint8_t empty = 0;
  struct vt_winreg_EnumValue r;
  memset(&r, 0, sizeof r);
  r.in.handle = &handle;
  r.in.enum_index = index;
  r.in.name = &name_buf;
  r.in.type = &value_type;
  r.in.value = data ? data : &empty;
  r.in.size = &capacity;
  r.in.length = &length;
  r.out.name = &name_buf;
  TALLOC_CTX* mem = talloc_new(rpc);
  unsigned status = call(rpc, ENUM_VALUE, &r, mem);
  if (!status) status = W_ERROR_V(r.out.result);
  if (status == 0 || status == 234) {
    const char* got = r.out.name && r.out.name->name ? r.out.name->name : "";
    if (strlen(got) + 1 > name_capacity) {
      status = 234;
    } else {
      memcpy(name, got, strlen(got) + 1);
    }
    status =
        take_value(status, r.out.type, r.out.value, r.out.size, r.out.length, type, data, size);
  }
  talloc_free(mem);
  return status;
}
