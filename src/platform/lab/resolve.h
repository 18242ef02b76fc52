#pragma once
// Finding the machine an operation names, the account database that answers
// on it, accounts by name or SID as that machine sees them, and the rights
// of the logged-on account there.

#include <string>
#include <string_view>

#include "platform/lab/model.h"

namespace lab {

// "\\NAME", "NAME" or "" (the local machine) -> the machine's name; sets
// *status to NERR_InvalidComputer for a malformed name.
std::string machineNameOf(const Network& net, std::string_view server, DWORD* status);

// The reachable machine `server` names, after its refusal of `operation`.
// Null with *status set (2351, 53, or the lab's refusal).
const Machine* locate(const Network& net, std::string_view server, std::string_view operation,
                      DWORD* status);
inline Machine* locate(Network& net, std::string_view server, std::string_view operation,
                       DWORD* status) {
  return const_cast<Machine*>(locate(static_cast<const Network&>(net), server, operation, status));
}

bool isDomainController(const Network& net, const Machine& m);
bool isPrimary(const Network& net, const Machine& m);

// The account database that answers account calls on `m` (the domain's on a
// controller, the machine's own otherwise); null when it keeps none.
const Sam* samOf(const Network& net, const Machine& m);
inline Sam* samOf(Network& net, Machine& m) {
  return const_cast<Sam*>(samOf(static_cast<const Network&>(net), static_cast<const Machine&>(m)));
}

// An account found by name or SID.
struct AccountRef {
  const Sam* sam = nullptr;  // null: not found
  AccountKind kind = AccountKind::User;
  DWORD rid = 0;
  std::string name;
  std::string domain;  // the name a look-up reports ("BUILTIN" for built-in groups)
  platform::SID sid;
  bool deleted = false;
};

// "name" or "DOMAIN\name" as machine `m` resolves it: its own accounts, then
// its domain's, then the domains its domain trusts.
AccountRef findAccount(const Network& net, const Machine& m, std::string_view account);
// A SID as machine `m` resolves it (deleted accounts are reported as such).
AccountRef findSid(const Network& net, const Machine& m, const platform::SID& sid);

// The SIDs the logged-on account acts with: its own and its global groups'.
std::vector<platform::SID> logonSids(const Network& net);

struct Rights {
  bool administrator = false;
  bool accountOperator = false;
  bool serverOperator = false;
  bool canManageAccounts() const { return administrator || accountOperator; }
};
// What the logged-on account may do on `m`.
Rights rightsOn(const Network& net, const Machine& m);

// True when `sid` is `user` or one of the global groups containing `user`.
bool sidCoversUser(const Network& net, const platform::SID& sid, const Sam& userSam, DWORD userRid);

}  // namespace lab
