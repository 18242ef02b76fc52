#pragma once
// Translations between the platform's account fields and Samba's: the
// directory's attributes of a user, the account-control bits that
// libnetapi's add and set calls pass through untranslated, and NT times.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/netapi.h"
#include "platform/samba/directory.h"
#include "platform/samba/samr_accounts.h"

namespace platform::samba {

// The domain's password and lock-out policy, as far as a user's state
// follows from it, in NT time units (100 ns); 0 means never.
struct DomainPolicy {
  std::int64_t maxPasswordAge = 0;
  std::int64_t lockoutDuration = 0;
  bool lockoutForever = false;  // locked accounts stay locked until unlocked
};
// The domain object's attributes DomainPolicy is read from, and the reading.
const std::vector<std::string>& policyAttributes();
DomainPolicy policyFromEntry(const DirectoryEntry& domain);

// The directory attributes USER_INFO_3 is made from. Without the security
// descriptor (for callers that want names only), which costs the controller
// more than every other attribute together and gives only "user cannot
// change password". With `computed`, lock-out and password expiry as the
// controller computes them per account (msDS-User-Account-Control-Computed,
// msDS-UserPasswordExpiryTimeComputed: a fine-grained password policy
// applied to the account overrides the domain's, and only the controller
// knows which applies); without, what they follow from under the domain's
// policy (lockoutTime, pwdLastSet), for a domain without such policies:
// computing them costs the controller about as much as the rest of a
// browse.
const std::vector<std::string>& userAttributes(bool withDescriptor, bool computed = true);
// A user's USER_INFO_3 from its directory entry; `now` in seconds since 1970.
// With `policy`, lock-out and password expiry are worked out from it as the
// controller does for an account no fine-grained policy applies to;
// without, they are the controller's computed values.
USER_INFO_3 userFromEntry(const DirectoryEntry& entry, std::int64_t now,
                          const DomainPolicy* policy = nullptr);
// A user's USER_INFO_3 as a controller without a directory keeps it in its
// account database; `now` as above.
USER_INFO_3 userFromAccount(const vt_samr_account& account, std::int64_t now);

// A user's dial-in permission and call-back, as the dial-in calls give it.
struct DialinState {
  DWORD allowed = 0;
  std::string callbackNumber;
  DWORD callbackType = 0;  // RAS_CALLBACK_*
};
const std::vector<std::string>& dialinAttributes();
DialinState dialinFromEntry(const DirectoryEntry& entry);

// userAccountControl (whose bits are the UF_ flags) as the platform's flags.
DWORD flagsFromAccountControl(std::uint32_t accountControl);
// An account's flags from its directory entry: userAccountControl, and
// UF_PASSWD_CANT_CHANGE from its DACL (nTSecurityDescriptor), where the
// controller keeps it; the account-control bit of that name means nothing
// to it.
DWORD accountFlags(const DirectoryEntry& entry);
// Whether the entry's DACL denies the account the change of its own
// password (false without a readable descriptor).
bool passwordChangeDenied(const DirectoryEntry& entry);
// The flags of the platform among those libnetapi reports (it adds
// UF_PASSWORD_EXPIRED, which the platform reports in its own field).
DWORD reportedFlags(DWORD flags);
// The account-control bits (ACB_) SAMR expects for the UF_ flags.
std::uint32_t acbFromFlags(DWORD flags);
// The UF_ flags of SAMR's account-control bits, as the display information
// of a controller without a directory gives them.
DWORD flagsFromAcb(std::uint32_t acb);

// The account expiry an NT4-style Samba controller keeps for "never", in
// seconds since 1970 (the end of its time type, as an NT time).
constexpr DWORD kPdcNeverExpires = 2085923199;

// NT time (100 ns units since 1601) to seconds since 1970; 0 for 0, and
// `never` for "never" (0 or the largest value, as accountExpires uses both).
DWORD unixFromNtTime(std::int64_t nt, DWORD never);
std::int64_t ntTimeFromUnix(DWORD seconds);

// The relative ID, the last part of a SID in text form; 0 when none.
DWORD ridOf(const std::string& sid);

}  // namespace platform::samba
