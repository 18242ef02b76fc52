// A directory that answers the first question and then nothing (its LDAP
// server stopped between two requests): connecting to it ends within the
// bound given, as a time-out, instead of the library's minute per message.
// A stand-in directory on a loopback address of its own plays the part.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/samba/directory.h"
#include "platform/samba/reachability.h"

namespace {

using namespace platform::samba;
using Clock = std::chrono::steady_clock;

constexpr const char* kAddress = "127.0.0.9";

// Listens on kAddress:389. Answers the first request of the first
// connection with the start of an LDAP message, and never anything else.
class SilentDirectory {
 public:
  SilentDirectory() {
    m_listener = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    const int on = 1;
    ::setsockopt(m_listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in at{};
    at.sin_family = AF_INET;
    at.sin_port = htons(kLdapPort);
    ::inet_pton(AF_INET, kAddress, &at.sin_addr);
    m_listening = ::bind(m_listener, reinterpret_cast<sockaddr*>(&at), sizeof at) == 0 &&
                  ::listen(m_listener, 8) == 0;
    if (m_listening) m_thread = std::thread([this] { serve(); });
  }
  ~SilentDirectory() {
    m_stop = true;
    if (m_thread.joinable()) m_thread.join();
    for (int fd : m_connections) ::close(fd);
    ::close(m_listener);
  }
  bool listening() const { return m_listening; }

 private:
  void serve() {
    bool answered = false;
    while (!m_stop) {
      std::vector<pollfd> fds{{m_listener, POLLIN, 0}};
      for (int fd : m_connections) fds.push_back({fd, POLLIN, 0});
      if (::poll(fds.data(), fds.size(), 50) <= 0) continue;
      if (fds[0].revents & POLLIN) m_connections.push_back(::accept4(m_listener, nullptr, nullptr,
                                                                     SOCK_CLOEXEC));
      for (std::size_t i = 1; i < fds.size(); ++i) {
        if (!(fds[i].revents & POLLIN)) continue;
        char data[512];
        if (::recv(fds[i].fd, data, sizeof data, 0) > 0 && !answered) {
          const unsigned char reply[] = {0x30, 0x0c, 0x02, 0x01, 0x01, 0x65, 0x07,
                                         0x0a, 0x01, 0x00, 0x04, 0x00, 0x04, 0x00};
          ::send(fds[i].fd, reply, sizeof reply, MSG_NOSIGNAL);
          answered = true;
        }
      }
    }
  }

  int m_listener = -1;
  bool m_listening = false;
  std::atomic<bool> m_stop{false};
  std::vector<int> m_connections;
  std::thread m_thread;
};

TEST(SambaDirectoryBound, AConnectThatGetsNoAnswerEndsAtItsBoundAsATimeOut) {
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
  GTEST_SKIP() << "Samba's LDAP client loads its modules with RTLD_DEEPBIND, which the "
                  "sanitizers' runtimes refuse";
#endif
  SilentDirectory directory;
  if (!directory.listening()) GTEST_SKIP() << "cannot listen on " << kAddress << ":389";
  // The question needs no account, and is answered: a directory is there.
  EXPECT_EQ(askLdap(kAddress, 2000), LdapAnswer::Answers);
  // Nothing listens on another loopback address: no directory at all.
  EXPECT_EQ(askLdap("127.0.0.10", 2000), LdapAnswer::Absent);

  Credentials credentials;
  credentials.user = "Administrator";
  credentials.password = "irrelevant";
  credentials.domain = "SAMDOM";
  std::string why;
  bool late = false;
  const auto start = Clock::now();
  EXPECT_FALSE(Directory::open(kAddress, credentials, &why, &late, 2));
  const auto took = Clock::now() - start;
  EXPECT_TRUE(late) << why;
  EXPECT_GE(took, std::chrono::seconds(2));
  EXPECT_LT(took, std::chrono::seconds(10)) << why;
  // Once it answers nothing, the question says so in its own time.
  EXPECT_EQ(askLdap(kAddress, 500), LdapAnswer::Silent);
}

}  // namespace
