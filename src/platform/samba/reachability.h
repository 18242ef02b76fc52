#pragma once
// Whether a server answers at all, to tell an unreachable server from one
// that refused the credentials (libnetapi reports both alike).

#include <string>

namespace platform::samba {

// True when a TCP connection to `host`'s `port` is accepted within
// `timeoutMs` milliseconds.
bool answersOnPort(const std::string& host, int port, int timeoutMs = 3000);

// What a server's LDAP port does with a question that needs no account
// (the directory's root entry).
enum class LdapAnswer {
  Answers,  // a directory is there
  Absent,   // nothing listens (an NT4-style controller), or no such host
  Silent,   // the connection is taken, or not, and no answer comes in time:
            // a directory that stopped answering
};
LdapAnswer askLdap(const std::string& host, int timeoutMs);

constexpr int kSmbPort = 445;
constexpr int kLdapPort = 389;

}  // namespace platform::samba
