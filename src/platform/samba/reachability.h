#pragma once
// Whether a server answers at all, to tell an unreachable server from one
// that refused the credentials (libnetapi reports both alike).

#include <string>

namespace platform::samba {

// True when a TCP connection to `host`'s `port` is accepted within
// `timeoutMs` milliseconds.
bool answersOnPort(const std::string& host, int port, int timeoutMs = 3000);

constexpr int kSmbPort = 445;
constexpr int kLdapPort = 389;

}  // namespace platform::samba
