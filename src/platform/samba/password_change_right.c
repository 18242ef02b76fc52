#include "password_change_right.h"

#include <stdbool.h>
#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <talloc.h>
#include <ndr.h>
#include <gen_ndr/security.h>

/* Samba's security library ships without its headers; these are its
 * declarations (libcli/security, librpc/gen_ndr/ndr_security.h). */
enum ndr_err_code ndr_pull_security_descriptor(struct ndr_pull* ndr, int ndr_flags,
                                               struct security_descriptor* r);
enum ndr_err_code ndr_push_security_descriptor(struct ndr_push* ndr, int ndr_flags,
                                               const struct security_descriptor* r);
bool dom_sid_equal(const struct dom_sid* sid1, const struct dom_sid* sid2);
bool dom_sid_parse(const char* sidstr, struct dom_sid* ret);

/* The change-password extended right, and the two trustees directory
 * consoles deny it to: the account itself (SELF) and Everyone. */
static const char kChangePassword[] = "ab721a53-1e2f-11d0-9819-00aa0040529b";
static const char kSelf[] = "S-1-5-10";
static const char kEveryone[] = "S-1-1-0";

struct right {
  struct GUID guid;
  struct dom_sid trustees[2];
};

static bool right_init(struct right* r) {
  return NT_STATUS_IS_OK(GUID_from_string(kChangePassword, &r->guid)) &&
         dom_sid_parse(kSelf, &r->trustees[0]) && dom_sid_parse(kEveryone, &r->trustees[1]);
}

/* An entry of `type` (allow or deny object entry) for the right, given to
 * SELF or Everyone. */
static bool is_entry(const struct security_ace* ace, enum security_ace_type type,
                     const struct right* r) {
  if (ace->type != type || !(ace->access_mask & SEC_ADS_CONTROL_ACCESS)) return false;
  const struct security_ace_object* object = &ace->object.object;
  if (!(object->flags & SEC_ACE_OBJECT_TYPE_PRESENT) || !GUID_equal(&object->type.type, &r->guid))
    return false;
  return dom_sid_equal(&ace->trustee, &r->trustees[0]) ||
         dom_sid_equal(&ace->trustee, &r->trustees[1]);
}

static struct security_descriptor* pulled(TALLOC_CTX* mem, const void* data, size_t length) {
  struct security_descriptor* sd = talloc_zero(mem, struct security_descriptor);
  DATA_BLOB blob = data_blob_const(data, length);
  if (!sd ||
      !NDR_ERR_CODE_IS_SUCCESS(ndr_pull_struct_blob(
          &blob, sd, sd, (ndr_pull_flags_fn_t)ndr_pull_security_descriptor)))
    return NULL;
  return sd;
}

int vt_denies_password_change(const void* data, size_t length) {
  struct right r;
  TALLOC_CTX* mem = talloc_new(NULL);
  const struct security_descriptor* sd = right_init(&r) ? pulled(mem, data, length) : NULL;
  int denied = sd ? 0 : -1;
  for (uint32_t i = 0; sd && sd->dacl && i < sd->dacl->num_aces; ++i) {
    if (is_entry(&sd->dacl->aces[i], SEC_ACE_TYPE_ACCESS_DENIED_OBJECT, &r)) denied = 1;
  }
  talloc_free(mem);
  return denied;
}

static struct security_ace entry(enum security_ace_type type, const struct right* r,
                                 const struct dom_sid* trustee) {
  struct security_ace ace;
  memset(&ace, 0, sizeof ace);
  ace.type = type;
  ace.access_mask = SEC_ADS_CONTROL_ACCESS;
  ace.object.object.flags = SEC_ACE_OBJECT_TYPE_PRESENT;
  ace.object.object.type.type = r->guid;
  ace.trustee = *trustee;
  return ace;
}

int vt_with_password_change_denied(const void* data, size_t length, int deny, void** out,
                                   size_t* out_length) {
  *out = NULL;
  *out_length = 0;
  struct right r;
  TALLOC_CTX* mem = talloc_new(NULL);
  struct security_descriptor* sd = right_init(&r) ? pulled(mem, data, length) : NULL;
  if (!sd) {
    talloc_free(mem);
    return -1;
  }
  if (!sd->dacl) {
    sd->dacl = talloc_zero(sd, struct security_acl);
    if (!sd->dacl) {
      talloc_free(mem);
      return -1;
    }
    sd->dacl->revision = SECURITY_ACL_REVISION_ADS;
  }
  struct security_acl* dacl = sd->dacl;
  /* The new order: the deny entries first, then the explicit entries kept,
   * the allow entries put back, and the inherited ones last (the
   * controller works those out again from the parent anyway). */
  const enum security_ace_type dropped =
      deny ? SEC_ACE_TYPE_ACCESS_ALLOWED_OBJECT : SEC_ACE_TYPE_ACCESS_DENIED_OBJECT;
  struct security_ace* aces = talloc_array(sd, struct security_ace, dacl->num_aces + 2);
  if (!aces) {
    talloc_free(mem);
    return -1;
  }
  uint32_t count = 0;
  if (deny) {
    for (int t = 0; t < 2; ++t)
      aces[count++] = entry(SEC_ACE_TYPE_ACCESS_DENIED_OBJECT, &r, &r.trustees[t]);
  }
  bool allowed[2] = {false, false};
  for (uint32_t i = 0; i < dacl->num_aces; ++i) {
    const struct security_ace* ace = &dacl->aces[i];
    if (ace->flags & SEC_ACE_FLAG_INHERITED_ACE) continue;
    if (is_entry(ace, dropped, &r)) continue;
    if (is_entry(ace, SEC_ACE_TYPE_ACCESS_DENIED_OBJECT, &r)) continue; /* put first above */
    if (is_entry(ace, SEC_ACE_TYPE_ACCESS_ALLOWED_OBJECT, &r) && ace->flags == 0) {
      for (int t = 0; t < 2; ++t)
        if (dom_sid_equal(&ace->trustee, &r.trustees[t])) allowed[t] = true;
    }
    aces[count++] = *ace;
  }
  if (!deny) {
    for (int t = 0; t < 2; ++t)
      if (!allowed[t]) aces[count++] = entry(SEC_ACE_TYPE_ACCESS_ALLOWED_OBJECT, &r, &r.trustees[t]);
  }
  for (uint32_t i = 0; i < dacl->num_aces; ++i) {
    if (dacl->aces[i].flags & SEC_ACE_FLAG_INHERITED_ACE) aces[count++] = dacl->aces[i];
  }
  dacl->aces = aces;
  dacl->num_aces = count;
  dacl->revision = SECURITY_ACL_REVISION_ADS;
  sd->type |= SEC_DESC_DACL_PRESENT;

  DATA_BLOB blob = data_blob_null;
  int status = -1;
  if (NDR_ERR_CODE_IS_SUCCESS(ndr_push_struct_blob(
          &blob, mem, sd, (ndr_push_flags_fn_t)ndr_push_security_descriptor))) {
    *out = malloc(blob.length ? blob.length : 1);
    if (*out) {
      memcpy(*out, blob.data, blob.length);
      *out_length = blob.length;
      status = 0;
    }
  }
  talloc_free(mem);
  return status;
}
