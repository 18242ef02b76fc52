#pragma once
// "User cannot change password" as a directory keeps it: entries for the
// change-password extended right on the account's security descriptor
// (nTSecurityDescriptor) for SELF and Everyone, denying or allowing it; not
// an account-control bit.

#include <optional>
#include <string>
#include <string_view>

namespace platform::samba {

// Whether the descriptor's DACL denies SELF or Everyone the right (an
// inherited denial counts too). False for bytes that are no descriptor.
// Reads the bytes in place: it runs for every account of a browse.
bool deniesPasswordChange(std::string_view descriptor);

// The descriptor with the right denied (deny entries for SELF and Everyone
// first, as explicit denials come first, their explicit allow entries for
// the right removed) or allowed again (the explicit deny entries removed,
// the allow entries a new account has put back). Inherited entries stay
// as they are, after the explicit ones. nullopt when the bytes are no
// descriptor or hold no DACL to change.
std::optional<std::string> withPasswordChangeDenied(std::string_view descriptor, bool deny);

}  // namespace platform::samba
