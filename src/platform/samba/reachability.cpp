#include "platform/samba/reachability.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <memory>
#include <string>

namespace platform::samba {
namespace {

struct AddressListFree {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};

class Socket {
 public:
  explicit Socket(int fd) : m_fd(fd) {}
  ~Socket() {
    if (m_fd >= 0) ::close(m_fd);
  }
  Socket(const Socket&) = delete;
  Socket& operator=(const Socket&) = delete;
  int fd() const { return m_fd; }

 private:
  int m_fd;
};

bool connects(const addrinfo& address, int timeoutMs) {
  Socket s(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                    address.ai_protocol));
  if (s.fd() < 0) return false;
  if (::connect(s.fd(), address.ai_addr, address.ai_addrlen) == 0) return true;
  if (errno != EINPROGRESS) return false;
  pollfd p{s.fd(), POLLOUT, 0};
  if (::poll(&p, 1, timeoutMs) != 1) return false;
  int error = 0;
  socklen_t size = sizeof error;
  return ::getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

// A search of the root entry asking for no attribute ("1.1"), message 1:
// what any directory answers without an account, and at once (the root
// entry's attributes are computed, some of them dearly).
constexpr std::array<std::uint8_t, 44> kRootSearch = {
    0x30, 0x2a, 0x02, 0x01, 0x01,                    // message, id 1
    0x63, 0x25,                                      // search request
    0x04, 0x00,                                      // base ""
    0x0a, 0x01, 0x00, 0x0a, 0x01, 0x00,              // scope base, never dereference
    0x02, 0x01, 0x00, 0x02, 0x01, 0x00,              // no size or time limit
    0x01, 0x01, 0x00,                                // types only: false
    0x87, 0x0b, 'o', 'b', 'j', 'e', 'c', 't', 'C', 'l', 'a', 's', 's',  // (objectClass=*)
    0x30, 0x05, 0x04, 0x03, '1', '.', '1'};          // no attribute

using Clock = std::chrono::steady_clock;

int msLeft(Clock::time_point until) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - Clock::now());
  return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

LdapAnswer askOne(const addrinfo& address, Clock::time_point until) {
  Socket s(::socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC,
                    address.ai_protocol));
  if (s.fd() < 0) return LdapAnswer::Absent;
  if (::connect(s.fd(), address.ai_addr, address.ai_addrlen) != 0) {
    if (errno != EINPROGRESS) return LdapAnswer::Absent;
    pollfd p{s.fd(), POLLOUT, 0};
    if (::poll(&p, 1, msLeft(until)) != 1) return LdapAnswer::Silent;
    int error = 0;
    socklen_t size = sizeof error;
    if (::getsockopt(s.fd(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
      return LdapAnswer::Absent;
  }
  if (::send(s.fd(), kRootSearch.data(), kRootSearch.size(), MSG_NOSIGNAL) !=
      static_cast<ssize_t>(kRootSearch.size()))
    return LdapAnswer::Absent;
  pollfd p{s.fd(), POLLIN, 0};
  if (::poll(&p, 1, msLeft(until)) != 1) return LdapAnswer::Silent;
  // An LDAP message starts with a sequence; a connection closed at once is
  // no directory.
  std::uint8_t first = 0;
  return ::recv(s.fd(), &first, 1, 0) == 1 && first == 0x30 ? LdapAnswer::Answers
                                                             : LdapAnswer::Absent;
}

}  // namespace

LdapAnswer askLdap(const std::string& host, int timeoutMs) {
  const auto until = Clock::now() + std::chrono::milliseconds(timeoutMs);
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(kLdapPort).c_str(), &hints, &found) != 0)
    return LdapAnswer::Absent;
  std::unique_ptr<addrinfo, AddressListFree> list(found);
  LdapAnswer answer = LdapAnswer::Absent;
  for (const addrinfo* a = found; a && msLeft(until) > 0; a = a->ai_next) {
    answer = askOne(*a, until);
    if (answer == LdapAnswer::Answers) return answer;
  }
  return answer;
}

bool answersOnPort(const std::string& host, int port, int timeoutMs) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
  std::unique_ptr<addrinfo, AddressListFree> list(found);
  for (const addrinfo* a = found; a; a = a->ai_next) {
    if (connects(*a, timeoutMs)) return true;
  }
  return false;
}

}  // namespace platform::samba
