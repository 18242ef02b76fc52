#include "samr_calls.h"

#include <stdbool.h>
#include <string.h>
#include <strings.h>

#include <core/werror.h>

static const uint32_t kConnectAccess =
    SAMR_ACCESS_CONNECT_TO_SERVER | SAMR_ACCESS_ENUM_DOMAINS | SAMR_ACCESS_LOOKUP_DOMAIN;
static const uint32_t kDomainAccess =
    SAMR_DOMAIN_ACCESS_ENUM_ACCOUNTS | SAMR_DOMAIN_ACCESS_LOOKUP_INFO_1 |
    SAMR_DOMAIN_ACCESS_LOOKUP_INFO_2 | SAMR_DOMAIN_ACCESS_OPEN_ACCOUNT;

unsigned samr_shared_pipe(struct libnetapi_ctx* netapi, const char* server,
                          struct samr_pipe* out) {
  out->binding = NULL;
  out->own = NULL;
  const WERROR got = libnetapi_get_binding_handle(netapi, server, &ndr_table_samr, &out->binding);
  if (!W_ERROR_IS_OK(got)) return W_ERROR_V(got);
  return out->binding ? 0 : 53;
}

/* ---- The structures against the library's table ---- */

struct layout {
  uint32_t opnum;
  const char* name;
  size_t size;
};
static const struct layout kLayouts[] = {
    {NDR_SAMR_CLOSE, "samr_Close", sizeof(struct samr_Close)},
    {NDR_SAMR_QUERYSECURITY, "samr_QuerySecurity", sizeof(struct samr_QuerySecurity)},
    {NDR_SAMR_LOOKUPDOMAIN, "samr_LookupDomain", sizeof(struct samr_LookupDomain)},
    {NDR_SAMR_ENUMDOMAINS, "samr_EnumDomains", sizeof(struct samr_EnumDomains)},
    {NDR_SAMR_OPENDOMAIN, "samr_OpenDomain", sizeof(struct samr_OpenDomain)},
    {NDR_SAMR_ENUMDOMAINUSERS, "samr_EnumDomainUsers", sizeof(struct samr_EnumDomainUsers)},
    {NDR_SAMR_OPENUSER, "samr_OpenUser", sizeof(struct samr_OpenUser)},
    {NDR_SAMR_QUERYUSERINFO, "samr_QueryUserInfo", sizeof(struct samr_QueryUserInfo)},
    {NDR_SAMR_CONNECT2, "samr_Connect2", sizeof(struct samr_Connect2)},
    {NDR_SAMR_LOOKUPNAMES, "samr_LookupNames", sizeof(struct samr_LookupNames)},
    {NDR_SAMR_SETUSERINFO, "samr_SetUserInfo", sizeof(struct samr_SetUserInfo)},
    {NDR_SAMR_SETSECURITY, "samr_SetSecurity", sizeof(struct samr_SetSecurity)},
};

const char* samr_layout_mismatch(void) {
  for (size_t i = 0; i < sizeof kLayouts / sizeof kLayouts[0]; ++i) {
    const struct layout* l = &kLayouts[i];
    if (l->opnum >= ndr_table_samr.num_calls) return l->name;
    const struct ndr_interface_call* entry = &ndr_table_samr.calls[l->opnum];
    if (strcmp(entry->name, l->name) != 0 || entry->struct_size != l->size) return l->name;
  }
  return NULL;
}

unsigned samr_transport_code(const struct samr_pipe* pipe, NTSTATUS status) {
  return pipe->own ? vt_rpc_noted(pipe->own, status) : vt_rpc_code(status);
}

/* The Windows code of a call's own answer (not the transport's). */
unsigned samr_result_code(NTSTATUS result) {
  switch (NT_STATUS_V(result)) {
    case 0xC0000064: /* NO_SUCH_USER */
    case 0xC0000073: /* NONE_MAPPED: a name that is no account */
      return 2221;
    case 0xC00000DF: /* NO_SUCH_DOMAIN */
      return 1355;
    case 0xC0000008: /* INVALID_HANDLE */
      return 6;
    default:
      return vt_rpc_code(result);
  }
}

/* One call, waited for: the transport's code, else the call's answer.
 * What a call answers is read through its out pointers, since libnetapi's
 * binding allocates them afresh rather than filling those it was given. */
unsigned samr_call(const struct samr_pipe* pipe, uint32_t opnum, TALLOC_CTX* mem, void* r,
                     const NTSTATUS* result) {
  const NTSTATUS status =
      dcerpc_binding_handle_call(pipe->binding, NULL, &ndr_table_samr, opnum, mem, r);
  if (!NT_STATUS_IS_OK(status)) return samr_transport_code(pipe, status);
  return NT_STATUS_IS_OK(*result) ? 0 : samr_result_code(*result);
}

void samr_close(const struct samr_pipe* pipe, struct policy_handle* handle) {
  if (!dcerpc_binding_handle_is_connected(pipe->binding)) return;
  struct samr_Close r;
  memset(&r, 0, sizeof r);
  r.in.handle = handle;
  r.out.handle = handle;
  TALLOC_CTX* mem = talloc_new(NULL);
  samr_call(pipe, NDR_SAMR_CLOSE, mem, &r, &r.out.result);
  talloc_free(mem);
}

unsigned samr_connect(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                           struct policy_handle* out) {
  struct samr_Connect2 c;
  memset(&c, 0, sizeof c);
  c.in.access_mask = kConnectAccess;
  c.out.connect_handle = out;
  const unsigned status = samr_call(pipe, NDR_SAMR_CONNECT2, mem, &c, &c.out.result);
  if (status == 0) *out = *c.out.connect_handle;
  return status;
}

/* The SID of the server's own domain (the one that is not "Builtin"),
 * allocated under mem. */
static unsigned domain_sid(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                           struct policy_handle* connect, struct dom_sid2** out) {
  uint32_t resume = 0;
  uint32_t count = 0;
  struct samr_SamArray* names = NULL;
  struct samr_EnumDomains e;
  memset(&e, 0, sizeof e);
  e.in.connect_handle = connect;
  e.in.buf_size = (uint32_t)-1;
  e.in.resume_handle = &resume;
  e.out.resume_handle = &resume;
  e.out.sam = &names;
  e.out.num_entries = &count;
  unsigned status = samr_call(pipe, NDR_SAMR_ENUMDOMAINS, mem, &e, &e.out.result);
  if (status) return status;
  names = *e.out.sam;
  const char* own = NULL;
  for (uint32_t i = 0; names && i < names->count; ++i) {
    const char* name = names->entries[i].name.string;
    if (name && strcasecmp(name, "Builtin") != 0) own = name;
  }
  if (!own) return 1355;

  struct lsa_String wanted = {0, 0, own};
  struct dom_sid2* sid = NULL;
  struct samr_LookupDomain l;
  memset(&l, 0, sizeof l);
  l.in.connect_handle = connect;
  l.in.domain_name = &wanted;
  l.out.sid = &sid;
  status = samr_call(pipe, NDR_SAMR_LOOKUPDOMAIN, mem, &l, &l.out.result);
  if (status) return status;
  *out = *l.out.sid;
  return *out ? 0 : 1355;
}

unsigned samr_open_domain(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                            struct policy_handle* connect, struct dom_sid2* sid,
                            struct policy_handle* out) {
  struct samr_OpenDomain o;
  memset(&o, 0, sizeof o);
  o.in.connect_handle = connect;
  o.in.access_mask = kDomainAccess;
  o.in.sid = sid;
  o.out.domain_handle = out;
  const unsigned status = samr_call(pipe, NDR_SAMR_OPENDOMAIN, mem, &o, &o.out.result);
  if (status == 0) *out = *o.out.domain_handle;
  return status;
}

unsigned samr_open_server_domain(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                                 struct policy_handle* connect, struct policy_handle* domain,
                                 struct dom_sid2** sid) {
  unsigned status = samr_connect(pipe, mem, connect);
  if (status) return status;
  status = domain_sid(pipe, mem, connect, sid);
  if (status == 0) status = samr_open_domain(pipe, mem, connect, *sid, domain);
  if (status) samr_close(pipe, connect);
  return status;
}

unsigned samr_query_dacl(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                         struct policy_handle* handle, struct security_descriptor** out) {
  struct sec_desc_buf* sdbuf = NULL;
  struct samr_QuerySecurity q;
  memset(&q, 0, sizeof q);
  q.in.handle = handle;
  q.in.sec_info = SECINFO_DACL;
  q.out.sdbuf = &sdbuf;
  const unsigned status = samr_call(pipe, NDR_SAMR_QUERYSECURITY, mem, &q, &q.out.result);
  sdbuf = status == 0 ? *q.out.sdbuf : NULL;
  *out = sdbuf ? sdbuf->sd : NULL;
  return status;
}

bool samr_is_everyone(const struct dom_sid* sid) {
  static const uint8_t kWorld[6] = {0, 0, 0, 0, 0, 1};
  return sid->sid_rev_num == 1 && sid->num_auths == 1 && memcmp(sid->id_auth, kWorld, 6) == 0 &&
         sid->sub_auths[0] == 0;
}

bool samr_withholds_change(const struct security_descriptor* sd) {
  if (!sd || !sd->dacl) return false;
  bool allowed = false;
  for (uint32_t i = 0; i < sd->dacl->num_aces; ++i) {
    const struct security_ace* ace = &sd->dacl->aces[i];
    if (!samr_is_everyone(&ace->trustee) || !(ace->access_mask & SAMR_USER_ACCESS_CHANGE_PASSWORD))
      continue;
    if (ace->type == SEC_ACE_TYPE_ACCESS_DENIED) return true;
    if (ace->type == SEC_ACE_TYPE_ACCESS_ALLOWED) allowed = true;
  }
  return !allowed;
}
