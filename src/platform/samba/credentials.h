#pragma once
// Who the samba backend acts as: an account and its password read from an
// authentication file (the format of Samba's own tools: "username =",
// "password =", "domain ="), or the user's Kerberos ticket cache. The
// password lives in this object only, never in a setting or a log.

#include <string>
#include <string_view>

namespace platform::samba {

struct Credentials {
  std::string user;
  std::string domain;
  std::string password;
  bool kerberosCache = false;  // use the ticket cache instead of a password

  bool haveAccount() const { return !user.empty(); }
};

// Reads `path`. False with *error set (one line, never the password) when
// the file cannot be read or names no user.
bool readAuthenticationFile(const std::string& path, Credentials* out, std::string* error);

// The Kerberos ticket cache of this user, when there is one that holds a
// file ($KRB5CCNAME or /tmp/krb5cc_UID); empty otherwise.
std::string kerberosCachePath();

}  // namespace platform::samba
