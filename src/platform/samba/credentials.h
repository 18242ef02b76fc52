#pragma once
// Who the samba backend acts as: an account and its password read from an
// authentication file (the format of Samba's own tools: "username =",
// "password =", "domain ="), or the user's Kerberos ticket cache. The
// password lives in this object only, never in a setting or a log.

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform::samba {

struct Credentials {
  std::string user;
  std::string domain;
  std::string password;
  bool kerberosCache = false;  // use the ticket cache instead of a password

  Credentials() = default;
  Credentials(const Credentials& other) = default;
  // Wipes the password it replaces: a freed buffer must not keep it.
  Credentials& operator=(const Credentials& other);
  ~Credentials() { wipePassword(); }

  bool haveAccount() const { return !user.empty(); }
  // An account, or the ticket cache: something a controller can be asked
  // to accept.
  bool usable() const { return haveAccount() || kerberosCache; }
  // Overwrites the password's bytes before dropping it.
  void wipePassword();
};

// Overwrites `text` in place (the compiler may not leave this out) and
// empties it.
void wipeText(std::string& text);

// What the user is asked when a controller needs an account.
struct LogonQuestion {
  std::string server;  // the controller asking ("" before any is reached)
  std::string user;    // the account last tried, offered again
  std::string domain;
  bool refused = false;  // the controller refused that account's password
};
// Asks the user for an account and password; nothing when they cancel.
using LogonPrompt = std::function<std::optional<Credentials>(const LogonQuestion&)>;

// Reads `path`. False with *error set (one line, never the password) when
// the file cannot be read, can be read or written by other users (mode
// not 600 or stricter), or names no user.
bool readAuthenticationFile(const std::string& path, Credentials* out, std::string* error);

// The Kerberos ticket cache of this user, when there is one that holds a
// file ($KRB5CCNAME or /tmp/krb5cc_UID); empty otherwise.
std::string kerberosCachePath();

}  // namespace platform::samba
