#include "ldb_client.h"
#include "client_credentials.h"
#include "connect_watch.h"

#include <stdarg.h>
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/time.h>

/* Samba's data blob header, pulled in by credentials.h, must come before
 * ldb.h: it defines the blob type ldb's values share. */
#include <credentials.h>
#include <param.h>
#include <talloc.h>
#include <tevent.h>
#include <ldb.h>

struct vt_ldb {
  struct ldb_context* ldb;
  int timeout;
};

/* ldb prints its errors on standard error; the caller gets them as text. */
static void quiet(void* context, enum ldb_debug_level level, const char* format, va_list ap) {
  (void)context;
  (void)level;
  (void)format;
  (void)ap;
}

struct vt_ldb* vt_ldb_connect(const char* modules_dir, const char* url, const char* user,
                              const char* password, const char* domain, int use_kerberos_cache,
                              int timeout_seconds, int connect_seconds, int* timed_out,
                              char* error, size_t size) {
  *timed_out = 0;
  struct vt_ldb* handle = talloc_zero(NULL, struct vt_ldb);
  if (!handle) {
    snprintf(error, size, "out of memory");
    return NULL;
  }
  handle->timeout = timeout_seconds;
  struct tevent_context* events = tevent_context_init(handle);
  handle->ldb = events ? ldb_init(handle, events) : NULL;
  if (!handle->ldb) {
    snprintf(error, size, "out of memory");
    talloc_free(handle);
    return NULL;
  }
  ldb_set_debug(handle->ldb, quiet, NULL);
  ldb_set_modules_dir(handle->ldb, modules_dir);
  struct loadparm_context* lp = loadparm_init_global(true);
  struct cli_credentials* creds =
      vt_client_credentials(handle, lp, user, password, domain, use_kerberos_cache);
  ldb_set_opaque(handle->ldb, "credentials", creds);
  ldb_set_opaque(handle->ldb, "loadparm", lp);
  /* The bind has no time limit of its own (see connect_watch.h). */
  struct vt_connect_watch watch;
  vt_connect_watch_start(&watch, handle, events, 389, connect_seconds);
  const int connected = ldb_connect(handle->ldb, url, 0, NULL);
  const bool fired = vt_connect_watch_end(&watch);
  if (connected != LDB_SUCCESS) {
    const char* why = ldb_errstring(handle->ldb);
    if (fired)
      snprintf(error, size, "no answer within %d seconds", connect_seconds);
    else
      snprintf(error, size, "%s", why && *why ? why : "no answer");
    *timed_out = fired ? 1 : 0;
    talloc_free(handle);
    return NULL;
  }
  return handle;
}

void vt_ldb_free(struct vt_ldb* handle) { talloc_free(handle); }

/* Limits a request's security descriptors to the parts sd_flags names. */
static int with_sd_flags(struct ldb_request* request, unsigned sd_flags) {
  if (sd_flags == 0) return LDB_SUCCESS;
  struct ldb_sd_flags_control* control = talloc(request, struct ldb_sd_flags_control);
  if (!control) return LDB_ERR_OPERATIONS_ERROR;
  control->secinfo_flags = sd_flags;
  return ldb_request_add_control(request, LDB_CONTROL_SD_FLAGS_OID, true, control);
}

/* Runs a built request within the time limit. */
static int run(struct vt_ldb* handle, struct ldb_request* request) {
  ldb_set_timeout(handle->ldb, request, handle->timeout);
  int status = ldb_request(handle->ldb, request);
  if (status == LDB_SUCCESS) status = ldb_wait(request->handle, LDB_WAIT_ALL);
  return status;
}

const char* vt_ldb_base_dn(struct vt_ldb* handle) {
  struct ldb_dn* base = ldb_get_default_basedn(handle->ldb);
  return base ? ldb_dn_get_linearized(base) : NULL;
}

/* A search's answers as they come: each object is handed on and freed at
 * once, so a search of every account of a big domain is never held whole;
 * the paged-results cookie of the last answer is kept. */
struct streaming {
  vt_ldb_value_fn receive;
  void* context;
  TALLOC_CTX* keep;
  struct ldb_val cookie;
};

static void keep_cookie(struct streaming* s, struct ldb_control** controls) {
  s->cookie.data = NULL;
  s->cookie.length = 0;
  for (unsigned i = 0; controls && controls[i]; ++i) {
    const struct ldb_control* control = controls[i];
    if (strcmp(control->oid, LDB_CONTROL_PAGED_RESULTS_OID) != 0 || !control->data) continue;
    const struct ldb_paged_control* paged = control->data;
    if (paged->cookie_len > 0) {
      s->cookie.data = talloc_memdup(s->keep, paged->cookie, paged->cookie_len);
      s->cookie.length = s->cookie.data ? (size_t)paged->cookie_len : 0;
    }
  }
}

static int stream_answer(struct ldb_request* request, struct ldb_reply* reply) {
  struct streaming* s = request->context;
  if (!reply) return ldb_request_done(request, LDB_ERR_OPERATIONS_ERROR);
  if (reply->error != LDB_SUCCESS) {
    const int error = reply->error;
    talloc_free(reply);
    return ldb_request_done(request, error);
  }
  if (reply->type == LDB_REPLY_ENTRY) {
    const struct ldb_message* msg = reply->message;
    const char* name = ldb_dn_get_linearized(msg->dn);
    s->receive(s->context, name, NULL, NULL, 0);
    for (unsigned e = 0; e < msg->num_elements; ++e) {
      const struct ldb_message_element* element = &msg->elements[e];
      for (unsigned v = 0; v < element->num_values; ++v) {
        s->receive(s->context, name, element->name, (const char*)element->values[v].data,
                   element->values[v].length);
      }
    }
  } else if (reply->type == LDB_REPLY_DONE) {
    keep_cookie(s, reply->controls);
    talloc_free(reply);
    return ldb_request_done(request, LDB_SUCCESS);
  }
  talloc_free(reply);
  return LDB_SUCCESS;
}

static int with_paging(struct ldb_request* request, int page_size, struct ldb_val cookie) {
  struct ldb_paged_control* paged = talloc_zero(request, struct ldb_paged_control);
  if (!paged) return LDB_ERR_OPERATIONS_ERROR;
  paged->size = page_size;
  paged->cookie = (char*)cookie.data;
  paged->cookie_len = (int)cookie.length;
  return ldb_request_add_control(request, LDB_CONTROL_PAGED_RESULTS_OID, false, paged);
}

/* One search, in pages of page_size objects when that is not 0. */
static int search_once(struct vt_ldb* handle, const char* base, const char* filter,
                       const char* const* attributes, unsigned sd_flags, int page_size,
                       struct streaming* s) {
  int status = LDB_SUCCESS;
  s->cookie.data = NULL;
  s->cookie.length = 0;
  do {
    TALLOC_CTX* tmp = talloc_new(s->keep);
    struct ldb_dn* dn = ldb_dn_new(tmp, handle->ldb, base);
    struct ldb_request* request = NULL;
    status = ldb_build_search_req(&request, handle->ldb, tmp, dn, LDB_SCOPE_SUBTREE, filter,
                                  attributes, NULL, s, stream_answer, NULL);
    if (status == LDB_SUCCESS) status = with_sd_flags(request, sd_flags);
    if (status == LDB_SUCCESS && page_size > 0) status = with_paging(request, page_size, s->cookie);
    if (status == LDB_SUCCESS) status = run(handle, request);
    talloc_free(tmp);
  } while (status == LDB_SUCCESS && page_size > 0 && s->cookie.length > 0);
  return status;
}

int vt_ldb_search(struct vt_ldb* handle, const char* base, const char* filter,
                  const char* const* attributes, unsigned sd_flags, vt_ldb_value_fn receive,
                  void* context) {
  /* A directory that caps an answer (as one that requires paging does)
   * gets the search again in pages. Not paged first: Samba's directory
   * takes two to three times as long over a paged search. */
  const int kPageSize = 1000;
  struct streaming s = {receive, context, talloc_new(handle), {NULL, 0}};
  int status = search_once(handle, base, filter, attributes, sd_flags, 0, &s);
  if (status == LDB_ERR_SIZE_LIMIT_EXCEEDED) {
    receive(context, NULL, NULL, NULL, 0); /* start again: what came is dropped */
    status = search_once(handle, base, filter, attributes, sd_flags, kPageSize, &s);
  }
  talloc_free(s.keep);
  return status;
}

int vt_ldb_replace(struct vt_ldb* handle, const char* dn, const char* attribute,
                   const char* const* values, const size_t* lengths, size_t count,
                   unsigned sd_flags) {
  TALLOC_CTX* tmp = talloc_new(handle);
  struct ldb_message* msg = ldb_msg_new(tmp);
  msg->dn = ldb_dn_new(tmp, handle->ldb, dn);
  struct ldb_message_element* element = NULL;
  int status = ldb_msg_add_empty(msg, attribute, LDB_FLAG_MOD_REPLACE, &element);
  for (size_t i = 0; status == LDB_SUCCESS && i < count; ++i) {
    struct ldb_val value;
    value.data = talloc_memdup(tmp, values[i], lengths[i] + 1);
    value.length = lengths[i];
    status = ldb_msg_add_value(msg, attribute, &value, NULL);
  }
  struct ldb_request* request = NULL;
  if (status == LDB_SUCCESS)
    status = ldb_build_mod_req(&request, handle->ldb, tmp, msg, NULL, NULL,
                               ldb_op_default_callback, NULL);
  if (status == LDB_SUCCESS) status = with_sd_flags(request, sd_flags);
  if (status == LDB_SUCCESS) status = run(handle, request);
  talloc_free(tmp);
  return status;
}
