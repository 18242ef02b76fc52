#include "samr_accounts.h"

#include <stdbool.h>
#include <string.h>
#include <strings.h>

#include "samr_calls.h"

/* Accounts read at once: enough to keep the server busy while answers come
 * back, few enough that the handles stay far below what a server lets one
 * connection hold open. */
enum { kInFlight = 24 };
/* The list's preferred answer size a page (the server caps it). */
enum { kPageBytes = 0x10000 };
/* Accounts read between two hand-overs: what is held at once. */
enum { kBatch = 1000 };

static const uint32_t kUserAccess = SAMR_USER_ACCESS_GET_NAME_ETC | SAMR_USER_ACCESS_GET_LOCALE |
                                    SAMR_USER_ACCESS_GET_LOGONINFO |
                                    SAMR_USER_ACCESS_GET_ATTRIBUTES | SEC_STD_READ_CONTROL;

/* ---- The list, over libnetapi's pipe ---- */

struct account_list {
  struct dom_sid2* sid;
  uint32_t* rids;
  uint32_t count;
};

/* Lists the relative IDs of the accounts acb_filter asks for, in the
 * server's order, and the domain's SID, under mem. */
static unsigned list_accounts(const struct samr_pipe* pipe, TALLOC_CTX* mem, uint32_t acb_filter,
                              struct account_list* out) {
  struct policy_handle connect;
  struct policy_handle domain;
  unsigned status = samr_open_server_domain(pipe, mem, &connect, &domain, &out->sid);
  if (status) return status;
  uint32_t resume = 0;
  for (bool more = true; more && status == 0;) {
    TALLOC_CTX* page_mem = talloc_new(mem);
    struct samr_SamArray* page = NULL;
    uint32_t count = 0;
    struct samr_EnumDomainUsers e;
    memset(&e, 0, sizeof e);
    e.in.domain_handle = &domain;
    e.in.acct_flags = acb_filter;
    e.in.max_size = kPageBytes;
    e.in.resume_handle = &resume;
    e.out.resume_handle = &resume;
    e.out.sam = &page;
    e.out.num_entries = &count;
    const NTSTATUS sent = dcerpc_binding_handle_call(pipe->binding, NULL, &ndr_table_samr,
                                                     NDR_SAMR_ENUMDOMAINUSERS, page_mem, &e);
    if (!NT_STATUS_IS_OK(sent)) {
      status = samr_transport_code(pipe, sent);
    } else {
      more = NT_STATUS_EQUAL(e.out.result, NT_STATUS_MORE_ENTRIES);
      if (!more && !NT_STATUS_IS_OK(e.out.result)) status = samr_result_code(e.out.result);
      page = *e.out.sam;
      resume = *e.out.resume_handle;
    }
    if (status == 0 && page && page->count > 0) {
      uint32_t* grown =
          talloc_realloc(mem, out->rids, uint32_t, out->count + page->count);
      if (!grown) {
        status = 8;
      } else {
        out->rids = grown;
        for (uint32_t i = 0; i < page->count; ++i) out->rids[out->count++] = page->entries[i].idx;
      }
    } else if (status == 0) {
      more = false;
    }
    talloc_free(page_mem);
  }
  samr_close(pipe, &domain);
  samr_close(pipe, &connect);
  return status;
}

/* ---- The accounts, many at once, over the program's own pipe ---- */

struct reading;

/* One account on its way: opened, then its information and descriptor
 * asked for together, then closed. */
enum step { kOpening, kReading, kClosing };
struct account {
  struct reading* run;
  uint32_t rid;
  enum step step;
  int waiting; /* answers still to come for the current step */
  struct policy_handle handle;
  struct samr_OpenUser open;
  struct samr_QueryUserInfo query;
  struct samr_QuerySecurity security;
  struct samr_Close close;
  union samr_UserInfo* info;
  struct sec_desc_buf* sdbuf;
  bool gone; /* removed since the list was made */
  unsigned failure;
};

struct reading {
  const struct samr_pipe* pipe;
  struct tevent_context* events;
  struct policy_handle* domain;
  struct account* accounts;
  uint32_t count;
  uint32_t next;
  int busy;
  unsigned failure;
};

static void answered(struct tevent_req* req);
static void start_next(struct reading* run);

static bool send_call(struct account* a, uint32_t opnum, void* r) {
  struct tevent_req* req =
      dcerpc_binding_handle_call_send(a->run->accounts, a->run->events, a->run->pipe->binding,
                                      NULL, &ndr_table_samr, opnum, a->run->accounts, r);
  if (!req) {
    a->failure = 8;
    return false;
  }
  ++a->waiting;
  tevent_req_set_callback(req, answered, a);
  return true;
}

static void finish(struct account* a) {
  struct reading* run = a->run;
  if (a->failure && !a->gone && !run->failure) run->failure = a->failure;
  --run->busy;
  start_next(run);
}

static void read_opened(struct account* a) {
  a->step = kReading;
  a->query.in.user_handle = &a->handle;
  a->query.in.level = UserAllInformation;
  a->query.out.info = &a->info;
  a->security.in.handle = &a->handle;
  a->security.in.sec_info = SECINFO_DACL;
  a->security.out.sdbuf = &a->sdbuf;
  if (!send_call(a, NDR_SAMR_QUERYUSERINFO, &a->query) ||
      !send_call(a, NDR_SAMR_QUERYSECURITY, &a->security)) {
    if (a->waiting == 0) finish(a);
  }
}

static void close_read(struct account* a) {
  a->step = kClosing;
  a->close.in.handle = &a->handle;
  a->close.out.handle = &a->handle;
  if (!send_call(a, NDR_SAMR_CLOSE, &a->close)) finish(a);
}

static void answered(struct tevent_req* req) {
  struct account* a = tevent_req_callback_data_void(req);
  const NTSTATUS status = dcerpc_binding_handle_call_recv(req);
  TALLOC_FREE(req);
  --a->waiting;
  if (!NT_STATUS_IS_OK(status) && !a->failure) a->failure = samr_transport_code(a->run->pipe, status);
  if (a->waiting > 0) return;
  switch (a->step) {
    case kOpening:
      if (!a->failure && !NT_STATUS_IS_OK(a->open.out.result)) {
        a->failure = samr_result_code(a->open.out.result);
        a->gone = a->failure == 2221;
      }
      if (a->failure) {
        finish(a);
      } else {
        a->handle = *a->open.out.user_handle;
        read_opened(a);
      }
      return;
    case kReading:
      if (!a->failure && !NT_STATUS_IS_OK(a->query.out.result))
        a->failure = samr_result_code(a->query.out.result);
      if (!a->failure && !NT_STATUS_IS_OK(a->security.out.result))
        a->failure = samr_result_code(a->security.out.result);
      if (!a->failure) {
        a->info = *a->query.out.info;
        a->sdbuf = *a->security.out.sdbuf;
        if (!a->info) a->failure = 59;
      }
      if (dcerpc_binding_handle_is_connected(a->run->pipe->binding)) {
        close_read(a);
      } else {
        finish(a);
      }
      return;
    case kClosing:
      finish(a); /* a close that fails leaves nothing to do */
      return;
  }
}

static void start_next(struct reading* run) {
  while (!run->failure && run->next < run->count && run->busy < kInFlight) {
    struct account* a = &run->accounts[run->next++];
    ++run->busy;
    a->step = kOpening;
    a->open.in.domain_handle = run->domain;
    a->open.in.access_mask = kUserAccess;
    a->open.in.rid = a->rid;
    a->open.out.user_handle = &a->handle;
    if (!send_call(a, NDR_SAMR_OPENUSER, &a->open)) {
      --run->busy;
      run->failure = a->failure;
    }
  }
}

static const char* text_of(const struct lsa_String* s) { return s->string ? s->string : ""; }

static void hand_over(const struct account* a, vt_samr_account_fn receive, void* context) {
  const struct samr_UserInfo21* i = &a->info->info21;
  struct vt_samr_account out;
  memset(&out, 0, sizeof out);
  out.rid = i->rid;
  out.primary_gid = i->primary_gid;
  out.acct_flags = i->acct_flags;
  out.name = text_of(&i->account_name);
  out.full_name = text_of(&i->full_name);
  out.home_directory = text_of(&i->home_directory);
  out.home_drive = text_of(&i->home_drive);
  out.logon_script = text_of(&i->logon_script);
  out.profile_path = text_of(&i->profile_path);
  out.description = text_of(&i->description);
  out.workstations = text_of(&i->workstations);
  out.comment = text_of(&i->comment);
  out.parameters = (const uint8_t*)i->parameters.array;
  out.parameters_size = i->parameters.array ? i->parameters.length : 0;
  out.last_logon = i->last_logon;
  out.last_logoff = i->last_logoff;
  out.last_password_change = i->last_password_change;
  out.acct_expiry = i->acct_expiry;
  out.units_per_week = i->logon_hours.units_per_week;
  out.logon_hours = i->logon_hours.bits;
  out.bad_password_count = i->bad_password_count;
  out.logon_count = i->logon_count;
  out.country_code = i->country_code;
  out.code_page = i->code_page;
  out.password_expired = i->password_expired;
  out.cannot_change_password = samr_withholds_change(a->sdbuf ? a->sdbuf->sd : NULL) ? 1 : 0;
  receive(context, &out);
}

/* Reads count accounts and hands them over in the list's order. */
static unsigned read_batch(const struct samr_pipe* pipe, struct tevent_context* events,
                           struct policy_handle* domain, const uint32_t* rids, uint32_t count,
                           vt_samr_account_fn receive, void* context) {
  struct reading run;
  memset(&run, 0, sizeof run);
  run.pipe = pipe;
  run.events = events;
  run.domain = domain;
  run.count = count;
  run.accounts = talloc_zero_array(NULL, struct account, count);
  if (!run.accounts) return 8;
  for (uint32_t i = 0; i < count; ++i) {
    run.accounts[i].run = &run;
    run.accounts[i].rid = rids[i];
  }
  start_next(&run);
  while (run.busy > 0) {
    if (tevent_loop_once(events) != 0) {
      /* The loop itself broke: nothing more will answer. */
      if (!run.failure) run.failure = 64;
      break;
    }
  }
  if (!run.failure) {
    for (uint32_t i = 0; i < count; ++i) {
      const struct account* a = &run.accounts[i];
      if (!a->gone && a->info) hand_over(a, receive, context);
    }
  }
  const unsigned failure = run.failure;
  /* Requests still pending after a broken loop belong to the accounts:
   * freeing them cancels them. */
  talloc_free(run.accounts);
  return failure;
}

unsigned vt_samr_accounts(struct libnetapi_ctx* netapi, struct vt_rpc* rpc, const char* server,
                          uint32_t acb_filter, vt_samr_account_fn receive, void* context) {
  if (vt_rpc_table(rpc) != &ndr_table_samr || samr_layout_mismatch()) return 50;
  /* The list, over libnetapi's pipe (see the header). */
  TALLOC_CTX* frame = _talloc_stackframe("samr_accounts.c");
  struct samr_pipe shared;
  struct account_list list = {NULL, NULL, 0};
  unsigned status = samr_shared_pipe(netapi, server, &shared);
  if (status == 0) status = list_accounts(&shared, frame, acb_filter, &list);

  /* Each account, over the program's own pipe. */
  const struct samr_pipe own = {vt_rpc_binding(rpc), rpc};
  struct policy_handle connect;
  struct policy_handle domain;
  bool connected = false;
  bool opened = false;
  if (status == 0) {
    status = samr_connect(&own, frame, &connect);
    connected = status == 0;
  }
  if (status == 0) {
    status = samr_open_domain(&own, frame, &connect, list.sid, &domain);
    opened = status == 0;
  }
  for (uint32_t at = 0; status == 0 && at < list.count; at += kBatch) {
    const uint32_t left = list.count - at;
    status = read_batch(&own, vt_rpc_events(rpc), &domain, list.rids + at,
                        left < kBatch ? left : kBatch, receive, context);
  }
  if (opened) samr_close(&own, &domain);
  if (connected) samr_close(&own, &connect);
  talloc_free(frame);
  return status;
}
