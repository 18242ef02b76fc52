#pragma once

#include <string>

namespace users {

// A password nobody knows, for an account that starts out disabled: long
// enough for any length policy and holding every character class, so a
// server that asks for complexity takes it too. The administrator gives the
// real password when the account is enabled.
std::string unguessablePassword();

}  // namespace users
