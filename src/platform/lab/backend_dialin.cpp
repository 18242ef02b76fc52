// The lab's dial-in settings of accounts.

#include "platform/lab/lab_dialin.h"

#include "platform/lab/resolve.h"
#include "platform/lab/text_rules.h"

namespace lab {

using namespace platform;

// ---- dial-in ----

namespace {

// The account's database on the machine the library was pointed at.
template <class Net>
auto dialinUser(Net& net, std::string_view server, std::string_view account, DWORD* status)
    -> decltype(net.domains.front().sam.findUser("")) {
  auto* m = locate(net, server, "GetRAS", status);
  if (!m) return nullptr;
  auto* sam = samOf(net, *m);
  if (!sam) return nullptr;
  return sam->findUser(account);
}

}  // namespace

int LabDialin::GetRASQuick(std::string_view server, std::string_view account,
                            DWORD* permission, std::string* number, DWORD* type) {
  return GetRAS(server, account, permission, number, type);
}

int LabDialin::GetRAS(std::string_view server, std::string_view account, DWORD* allowed,
                       std::string* number, DWORD* type) {
  int ok = 0;
  query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const User* u = dialinUser(net, server, account, &status);
    if (!u) return 0;
    if (allowed) *allowed = u->dialin.allowed ? 1 : 0;
    if (number) *number = u->dialin.callbackNumber;
    if (type) *type = u->dialin.callbackType;
    ok = 1;
    return 0;
  });
  return ok;
}

int LabDialin::DoRAS(std::string_view server, std::string_view account, DWORD allowed,
                      std::string_view number, DWORD type) {
  const DWORD status = change([&](Network& net, ChangeSet& changes) -> DWORD {
    DWORD st = 0;
    Machine* m = locate(net, server, "DoRAS", &st);
    if (!m) return st;
    if (isDomainController(net, *m) && !isPrimary(net, *m)) return NERR_NotPrimary;
    if (!rightsOn(net, *m).canManageAccounts()) return ERROR_ACCESS_DENIED;
    User* u = dialinUser(net, server, account, &st);
    if (!u) return NERR_UserNotFound;
    Dialin dialin;
    dialin.allowed = allowed != 0;
    dialin.callbackNumber = std::string(number);
    // The library keeps only the three types it knows; others mean none.
    dialin.callbackType = type <= RAS_CALLBACK_USER_SET ? type : RAS_CALLBACK_NONE;
    if (u->dialin == dialin) return NERR_Success;
    u->dialin = std::move(dialin);
    changes.user(*samOf(net, *m), u->rid);
    return NERR_Success;
  });
  return status == NERR_Success ? 1 : 0;
}

}  // namespace lab
