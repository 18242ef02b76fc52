#include "samr_limits.h"

#include <stdbool.h>
#include <string.h>
#include <strings.h>

#include "samr_calls.h"

static unsigned open_account(const struct samr_pipe* pipe, TALLOC_CTX* mem,
                             struct policy_handle* domain, const char* account, uint32_t access,
                             struct policy_handle* out) {
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
  o.in.rid = l.out.rids->ids[0];
  o.out.user_handle = out;
  status = samr_call(pipe, NDR_SAMR_OPENUSER, mem, &o, &o.out.result);
  if (status == 0) *out = *o.out.user_handle;
  return status;
}

unsigned vt_samr_set_limits(struct libnetapi_ctx* netapi, const char* server, const char* account,
                            const struct vt_samr_limits* limits) {
  if (samr_layout_mismatch()) return 50;
  TALLOC_CTX* frame = _talloc_stackframe("samr_limits.c");
  struct samr_pipe shared;
  unsigned status = samr_shared_pipe(netapi, server, &shared);
  struct policy_handle connect;
  struct policy_handle domain;
  struct policy_handle user;
  struct dom_sid2* sid = NULL;
  bool connected = false;
  bool opened = false;
  bool user_opened = false;
  if (status == 0) connected = (status = samr_connect(&shared, frame, &connect)) == 0;
  if (status == 0) status = samr_domain_sid(&shared, frame, &connect, &sid);
  if (status == 0) opened = (status = samr_open_domain(&shared, frame, &connect, sid, &domain)) == 0;
  if (status == 0) {
    status = open_account(&shared, frame, &domain, account,
                          SAMR_USER_ACCESS_SET_ATTRIBUTES | SAMR_USER_ACCESS_GET_ATTRIBUTES, &user);
    user_opened = status == 0;
  }
  if (status == 0) {
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
    r.in.user_handle = &user;
    r.in.level = UserAllInformation;
    r.in.info = &info;
    status = samr_call(&shared, NDR_SAMR_SETUSERINFO, frame, &r, &r.out.result);
  }
  if (user_opened) samr_close(&shared, &user);
  if (opened) samr_close(&shared, &domain);
  if (connected) samr_close(&shared, &connect);
  talloc_free(frame);
  return status;
}

