#pragma once
// Whether a server answers at all, to tell an unreachable server from one
// that refused the credentials (libnetapi reports both alike).

#include <string>

namespace platform::samba {

// True when a TCP connection to `host`'s SMB port (445) is accepted within
// `timeoutMs` milliseconds.
bool answersOnSmbPort(const std::string& host, int timeoutMs = 3000);

}  // namespace platform::samba
