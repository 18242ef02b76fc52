// The lab's account look-ups by name and by SID.

#include "platform/lab/lab_security.h"

#include "platform/lab/resolve.h"
#include "platform/lab/text_rules.h"

namespace lab {

using namespace platform;

// ---- look-ups ----

namespace {

SID_NAME_USE useOf(const AccountRef& r) {
  if (r.deleted) return SidTypeDeletedAccount;
  switch (r.kind) {
    case AccountKind::User: return SidTypeUser;
    case AccountKind::Group: return SidTypeGroup;
    case AccountKind::LocalGroup: return SidTypeAlias;
  }
  return SidTypeUnknown;
}

}  // namespace

DWORD LabSecurity::LookupAccountName(std::string_view system, std::string_view account, SID* sid,
                                    std::string* domain, SID_NAME_USE* use) {
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, system, "LookupAccountName", &status);
    if (!m) return status == NERR_InvalidComputer ? ERROR_BAD_NETPATH : status;
    // A domain's own name stands for the domain.
    if (account.find('\\') == std::string_view::npos) {
      if (const Domain* d = net.findDomain(account)) {
        if (sid) *sid = d->sam.sid;
        if (domain) *domain = d->name;
        if (use) *use = SidTypeDomain;
        return ERROR_SUCCESS;
      }
    }
    if (const WellKnownSid* w = wellKnownByName(account)) {
      if (sid) *sid = SID{std::string(w->sid)};
      if (domain) *domain = w->domain;
      if (use) *use = SidTypeWellKnownGroup;
      return ERROR_SUCCESS;
    }
    const AccountRef r = findAccount(net, *m, account);
    if (!r.sam) return ERROR_NONE_MAPPED;
    if (sid) *sid = r.sid;
    if (domain) *domain = r.domain;
    if (use) *use = useOf(r);
    return ERROR_SUCCESS;
  });
}

DWORD LabSecurity::LookupAccountSid(std::string_view system, const SID& sid, std::string* name,
                                   std::string* domain, SID_NAME_USE* use) {
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, system, "LookupAccountSid", &status);
    if (!m) return status == NERR_InvalidComputer ? ERROR_BAD_NETPATH : status;
    for (const auto& d : net.domains) {
      if (d.sam.sid == sid) {
        if (name) *name = d.name;
        if (domain) *domain = d.name;
        if (use) *use = SidTypeDomain;
        return ERROR_SUCCESS;
      }
    }
    if (const WellKnownSid* w = wellKnownBySid(sid.value)) {
      if (name) *name = w->name;
      if (domain) *domain = w->domain;
      if (use) *use = SidTypeWellKnownGroup;
      return ERROR_SUCCESS;
    }
    const AccountRef r = findSid(net, *m, sid);
    if (!r.sam) return ERROR_NONE_MAPPED;
    if (name) *name = r.name;
    if (domain) *domain = r.domain;
    if (use) *use = useOf(r);
    return ERROR_SUCCESS;
  });
}

}  // namespace lab
