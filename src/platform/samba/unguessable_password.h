#pragma once

#include <string>

namespace platform::samba {

// What a domain controller is given for kUnknownPassword: a password nobody
// is told, long enough for any length policy and holding every character
// class, so a controller that asks for complexity takes it too. A controller
// has no way to keep "no password matches", and an account without a password
// would need UF_PASSWD_NOTREQD or be refused.
std::string unguessablePassword();

}  // namespace platform::samba
