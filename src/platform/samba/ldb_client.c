#include "ldb_client.h"

#include <stdarg.h>
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <string.h>

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
                              int timeout_seconds, char* error, size_t size) {
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
  struct cli_credentials* creds = cli_credentials_init(handle);
  cli_credentials_set_conf(creds, lp);
  if (user && *user) {
    cli_credentials_set_username(creds, user, CRED_SPECIFIED);
    cli_credentials_set_password(creds, password ? password : "", CRED_SPECIFIED);
    if (domain && *domain) cli_credentials_set_domain(creds, domain, CRED_SPECIFIED);
  }
  if (use_kerberos_cache) {
    const char* why = NULL;
    cli_credentials_set_kerberos_state(creds, CRED_USE_KERBEROS_REQUIRED, CRED_SPECIFIED);
    cli_credentials_set_ccache(creds, lp, NULL, CRED_SPECIFIED, &why);
  }
  ldb_set_opaque(handle->ldb, "credentials", creds);
  ldb_set_opaque(handle->ldb, "loadparm", lp);
  if (ldb_connect(handle->ldb, url, 0, NULL) != LDB_SUCCESS) {
    const char* why = ldb_errstring(handle->ldb);
    snprintf(error, size, "%s", why && *why ? why : "no answer");
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

int vt_ldb_search(struct vt_ldb* handle, const char* base, const char* filter,
                  const char* const* attributes, unsigned sd_flags, vt_ldb_value_fn receive,
                  void* context) {
  TALLOC_CTX* tmp = talloc_new(handle);
  struct ldb_dn* dn = ldb_dn_new(tmp, handle->ldb, base);
  struct ldb_result* result = talloc_zero(tmp, struct ldb_result);
  struct ldb_request* request = NULL;
  int status = ldb_build_search_req(&request, handle->ldb, tmp, dn, LDB_SCOPE_SUBTREE, filter,
                                    attributes, NULL, result, ldb_search_default_callback, NULL);
  if (status == LDB_SUCCESS) status = with_sd_flags(request, sd_flags);
  if (status == LDB_SUCCESS) status = run(handle, request);
  if (status == LDB_SUCCESS) {
    for (unsigned i = 0; i < result->count; ++i) {
      const struct ldb_message* msg = result->msgs[i];
      const char* name = ldb_dn_get_linearized(msg->dn);
      receive(context, name, NULL, NULL, 0);
      for (unsigned e = 0; e < msg->num_elements; ++e) {
        const struct ldb_message_element* element = &msg->elements[e];
        for (unsigned v = 0; v < element->num_values; ++v) {
          receive(context, name, element->name, (const char*)element->values[v].data,
                  element->values[v].length);
        }
      }
    }
  }
  talloc_free(tmp);
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
