#include "samr_limits.h"

#include <stdbool.h>
#include <string.h>
#include <strings.h>

#include "samr_calls.h"

static unsigned open_account(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                             struct policy_handle* domain, const char* account, uint32_t access,
                             struct policy_handle* out, uint32_t* rid) {
  struct lsa_String name = {0, 0, account};
  struct samr_Ids rids;
  struct samr_Ids types;
  memset(&rids, 0, sizeof rids);
  memset(&types, 0, sizeof types);
  struct samr_LookupNames l;
  memset(&l, 0, sizeof l);
  l.in.domain_handle = domain;
  l.in.num_names = 1;
  l.in.names = &name;
  l.out.rids = &rids;
  l.out.types = &types;
  unsigned status = samr_call(pipe, NDR_SAMR_LOOKUPNAMES, mem, &l, &l.out.result);
  if (status == 0 && (l.out.rids->count != 1 || l.out.types->count != 1)) status = 2221;
  if (status) return status;
  const uint32_t kUserType = 1; /* SID_NAME_USER */
  if (l.out.types->ids[0] != kUserType) return 2221;

  struct samr_OpenUser o;
  memset(&o, 0, sizeof o);
  o.in.domain_handle = domain;
  o.in.access_mask = access;
  o.in.rid = *rid = l.out.rids->ids[0];
  o.out.user_handle = out;
  status = samr_call(pipe, NDR_SAMR_OPENUSER, mem, &o, &o.out.result);
  if (status == 0) *out = *o.out.user_handle;
  return status;
}

static bool same_sid(const struct dom_sid* a, const struct dom_sid* b) {
  if (a->sid_rev_num != b->sid_rev_num || a->num_auths != b->num_auths) return false;
  if (memcmp(a->id_auth, b->id_auth, sizeof a->id_auth) != 0) return false;
  for (int i = 0; i < a->num_auths && i < 15; ++i) {
    if (a->sub_auths[i] != b->sub_auths[i]) return false;
  }
  return true;
}

/* The named account opened on libnetapi's pipe, with what opened it. */
struct named_account {
  struct samr_pipe pipe;
  TALLOC_CTX* frame;
  struct policy_handle connect;
  struct policy_handle domain;
  struct policy_handle user;
  struct dom_sid2* sid; /* the domain's */
  uint32_t rid;
  bool domain_opened;
  bool user_opened;
};

static unsigned open_named(struct libnetapi_ctx* netapi, const char* server, const char* account,
                           uint32_t access, struct named_account* out) {
  memset(out, 0, sizeof *out);
  out->frame = _talloc_stackframe("samr_limits.c");
  if (samr_layout_mismatch()) return 50;
  unsigned status = samr_shared_pipe(netapi, server, &out->pipe);
  if (status == 0) {
    status = samr_open_server_domain(&out->pipe, out->frame, &out->connect, &out->domain,
                                     &out->sid);
    out->domain_opened = status == 0;
  }
  if (status == 0) {
    status = open_account(&out->pipe, out->frame, &out->domain, account, access, &out->user,
                          &out->rid);
    out->user_opened = status == 0;
  }
  return status;
}

static void close_named(struct named_account* a) {
  if (a->user_opened) samr_close(&a->pipe, &a->user);
  if (a->domain_opened) {
    samr_close(&a->pipe, &a->domain);
    samr_close(&a->pipe, &a->connect);
  }
  talloc_free(a->frame);
}

/* "User cannot change password" as account managers keep it: the entries
 * allowing Everyone and the account itself the account's object lose (or
 * regain) the change-password right. */
static unsigned write_password_change(struct named_account* a, bool cannot) {
  struct security_descriptor* sd = NULL;
  unsigned status = samr_query_dacl(&a->pipe, a->frame, &a->user, &sd);
  if (status) return status;
  if (!sd || !sd->dacl) return 50;

  struct dom_sid self = *a->sid;
  if (self.num_auths >= 15) return 50;
  self.sub_auths[self.num_auths++] = a->rid;
  bool changed = false;
  struct security_acl* dacl = sd->dacl;
  for (uint32_t i = 0; i < dacl->num_aces; ++i) {
    struct security_ace* ace = &dacl->aces[i];
    if (ace->type != SEC_ACE_TYPE_ACCESS_ALLOWED) continue;
    if (!samr_is_everyone(&ace->trustee) && !same_sid(&ace->trustee, &self)) continue;
    if (cannot)
      ace->access_mask &= ~(uint32_t)SAMR_USER_ACCESS_CHANGE_PASSWORD;
    else
      ace->access_mask |= SAMR_USER_ACCESS_CHANGE_PASSWORD;
    changed = true;
  }
  /* A DACL with no entry for either is not one an account manager wrote. */
  if (!changed) return 50;
  struct sec_desc_buf written = {0, sd};
  struct samr_SetSecurity w;
  memset(&w, 0, sizeof w);
  w.in.handle = &a->user;
  w.in.sec_info = SECINFO_DACL;
  w.in.sdbuf = &written;
  return samr_call(&a->pipe, NDR_SAMR_SETSECURITY, a->frame, &w, &w.out.result);
}

/* The information fields limits gives, at level 21 with only them present. */
static unsigned write_information(struct named_account* a,
                                  const struct vt_samr_limits* limits) {
  union samr_UserInfo info;
  memset(&info, 0, sizeof info);
  struct samr_UserInfo21* i = &info.info21;
  uint8_t hours[21];
  if (limits->set_expiry) {
    i->fields_present |= SAMR_FIELD_ACCT_EXPIRY;
    i->acct_expiry = limits->acct_expiry;
  }
  if (limits->set_hours) {
    i->fields_present |= SAMR_FIELD_LOGON_HOURS;
    memcpy(hours, limits->logon_hours, sizeof hours);
    i->logon_hours.units_per_week = 168;
    i->logon_hours.bits = hours;
  }
  if (limits->set_expired) {
    i->fields_present |= SAMR_FIELD_EXPIRED_FLAG;
    i->password_expired = limits->password_expired;
  }
  struct samr_SetUserInfo r;
  memset(&r, 0, sizeof r);
  r.in.user_handle = &a->user;
  r.in.level = UserAllInformation;
  r.in.info = &info;
  return samr_call(&a->pipe, NDR_SAMR_SETUSERINFO, a->frame, &r, &r.out.result);
}

unsigned vt_samr_cannot_change(struct libnetapi_ctx* netapi, const char* server,
                               const char* account, int* cannot) {
  *cannot = 0;
  struct named_account a;
  unsigned status = open_named(netapi, server, account, SEC_STD_READ_CONTROL, &a);
  if (status == 0) {
    struct security_descriptor* sd = NULL;
    status = samr_query_dacl(&a.pipe, a.frame, &a.user, &sd);
    *cannot = status == 0 && samr_withholds_change(sd) ? 1 : 0;
  }
  close_named(&a);
  return status;
}

unsigned vt_samr_set_limits(struct libnetapi_ctx* netapi, const char* server, const char* account,
                            const struct vt_samr_limits* limits) {
  struct named_account a;
  unsigned status = open_named(netapi, server, account,
                               SAMR_USER_ACCESS_SET_ATTRIBUTES | SAMR_USER_ACCESS_GET_ATTRIBUTES |
                                   SEC_STD_READ_CONTROL | SEC_STD_WRITE_DAC,
                               &a);
  if (status == 0 && limits->set_cannot_change)
    status = write_password_change(&a, limits->cannot_change != 0);
  if (status == 0 && (limits->set_expiry || limits->set_hours || limits->set_expired))
    status = write_information(&a, limits);
  close_named(&a);
  return status;
}
