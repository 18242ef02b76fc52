#pragma once
// The text form in which Samba's client library gives a file's security
// descriptor ("REVISION:1,OWNER:S-1-...,GROUP:S-1-...,ACL:S-1-...:0/3/0x001f01ff,...",
// SIDs in numbers) turned into the platform's descriptor.

#include <string_view>

#include "platform/security_descriptor.h"

namespace platform::samba {

// The parts `requested` of the descriptor `text` holds. A descriptor marked
// invalid when the text does not read as one (the walks say so rather than
// showing made-up owners). The text cannot tell a NULL DACL from an empty
// one: no ACL entry reads as an empty DACL.
SECURITY_DESCRIPTOR descriptorFromText(std::string_view text, SECURITY_INFORMATION requested);

}  // namespace platform::samba
