#include "platform/samba/samba_backend.h"
#include "platform/samba/samba_network.h"
#include "platform/samba/server_registry.h"

#include "platform/local/syslog_event_log.h"

#include <cctype>

#include "platform/samba/libnetapi.h"
#include "platform/samba/reachability.h"
#include "platform/samba/samba_local_system.h"

namespace platform::samba {
namespace {

std::string upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool isAddress(std::string_view s) {
  return !s.empty() && s.find_first_not_of("0123456789.") == std::string_view::npos;
}

}  // namespace

SambaBackend::SambaBackend(SambaOptions options, std::shared_ptr<NetapiSession> session)
    : m_options(std::move(options)), m_session(std::move(session)) {}

std::shared_ptr<SambaBackend> SambaBackend::start(SambaOptions options, std::string* error) {
  auto session = NetapiSession::open(options.credentials, error);
  if (!session) return nullptr;
  return std::make_shared<SambaBackend>(std::move(options), std::move(session));
}

Credentials SambaBackend::account() const {
  std::lock_guard lock(m_logonMutex);
  Credentials shown = m_options.credentials;
  shown.wipePassword();
  return shown;
}

bool SambaBackend::haveCredentials() const {
  std::lock_guard lock(m_logonMutex);
  return m_options.credentials.usable();
}

void SambaBackend::setLogonPrompt(LogonPrompt prompt) {
  std::lock_guard lock(m_logonMutex);
  m_options.askLogon = std::move(prompt);
}

bool SambaBackend::askCredentials(std::string_view server, bool refused) {
  auto lock = m_session->lock();
  return askCredentialsUnlocked(server, refused, lock);
}

bool SambaBackend::askCredentialsUnlocked(std::string_view server, bool refused,
                                          SessionLock& session) {
  LogonPrompt prompt;
  LogonQuestion question;
  unsigned generation = 0;
  {
    std::lock_guard lock(m_logonMutex);
    // One prompt at a time; a second caller meanwhile gets the refusal
    // rather than waiting (it may be the thread the prompt's window needs).
    if (!m_options.askLogon || m_asking) return false;
    m_asking = true;
    prompt = m_options.askLogon;
    generation = m_credentialsGeneration;
    question.server = std::string(server);
    question.user = m_options.credentials.user;
    question.domain = m_options.credentials.domain;
    question.refused = refused;
  }
  session.unlock();
  std::optional<Credentials> given = prompt(question);
  session.lock();
  std::lock_guard lock(m_logonMutex);
  m_asking = false;
  if (!given || !given->usable()) return false;
  if (generation != m_credentialsGeneration) return true;  // changed meanwhile
  m_options.credentials = *given;
  given->wipePassword();
  ++m_credentialsGeneration;
  m_session->actAs(m_options.credentials);
  // Connections made with the old account must not serve the new one.
  m_loggedOn.clear();
  m_directories.clear();
  m_withoutDirectory.clear();
  return true;
}

namespace {
// A refusal comes at once; a call that took longer than this to fail
// waited out a time-out.
constexpr auto kSlowestRefusal = std::chrono::seconds(5);
}  // namespace

DWORD SambaBackend::reach(std::string_view server, std::string* at, SessionLock& session) {
  if (const DWORD status = logOn(server, at, session)) return status;
  const DWORD status = openDirectory(*at);
  if (status == NERR_Success) m_lastReached = *at;
  return status;
}

std::string SambaBackend::networkServer() {
  if (!m_options.defaultServer.empty()) return {};
  {
    auto lock = m_session->lock();
    if (!m_lastReached.empty()) return "\\\\" + m_lastReached;
  }
  // Nothing asked yet: the controller of the machine's own domain.
  std::string dc;
  return NetGetDCName("", "", &dc) == NERR_Success ? dc : std::string();
}

DWORD SambaBackend::logOn(std::string_view server, std::string* at, SessionLock& session) {
  constexpr DWORD kLogonFailure = 1326;
  // Nothing goes to a controller without an account: the library would
  // connect as nobody, and keep that connection for the account given later.
  if (!haveCredentials() && !askCredentialsUnlocked(server, false, session)) return kLogonFailure;
  if (!address(server, at)) return ERROR_BAD_NETPATH;
  const auto now = std::chrono::steady_clock::now();
  if (auto it = m_quietUntil.find(*at); it != m_quietUntil.end()) {
    if (now < it->second) return ERROR_BAD_NETPATH;
    m_quietUntil.erase(it);
  }
  if (auto it = m_directories.find(*at); it != m_directories.end() && it->second->broken()) {
    // A request that timed out: the controller does not answer, leave it
    // alone. A connection that broke: log on anew (which finds out whether
    // the controller is there at all).
    const bool timedOut = it->second->timedOut();
    m_directories.erase(it);
    if (timedOut) {
      leaveAlone(*at);
      return ERROR_BAD_NETPATH;
    }
    std::lock_guard lock(m_logonMutex);
    m_loggedOn.erase(*at);
  }
  while (true) {
    {
      std::lock_guard lock(m_logonMutex);
      if (m_loggedOn.contains(*at)) return NERR_Success;
    }
    // A cheap call that needs the credentials (level 100 is answered
    // whatever they are): the controller takes or refuses them here,
    // before the call that was asked for.
    const auto asked = std::chrono::steady_clock::now();
    DWORD status = 0;
    {
      // Gone before a new account is asked for: that frees the library's
      // context, and every buffer it handed out with it.
      NetapiBuffer buf;
      status = ::NetServerGetInfo(at->c_str(), 101, buf.out());
      if (status == NERR_Success) {
        if (const auto* info = buf.as<::SERVER_INFO_101>(); info && info->sv101_name)
          m_addresses.emplace(upper(info->sv101_name), *at);
        std::lock_guard lock(m_logonMutex);
        m_loggedOn.insert(*at);
        return NERR_Success;
      }
    }
    // Whatever the library calls it, a controller that took this long to
    // fail the simplest call is not answering (a refusal comes at once):
    // the asked call would wait as long again.
    if (std::chrono::steady_clock::now() - asked > kSlowestRefusal) {
      leaveAlone(*at);
      return ERROR_BAD_NETPATH;
    }
    const DWORD mapped = answer(status, Family::Other, *at);
    if (mapped != kLogonFailure) return mapped;
    if (!askCredentialsUnlocked(server, true, session)) return kLogonFailure;
  }
}

bool SambaBackend::isLocalMachine(std::string_view server) const {
  while (server.starts_with('\\')) server.remove_prefix(1);
  return server.empty() && m_options.defaultServer.empty();
}

bool SambaBackend::addressOf(std::string_view server, std::string* out) {
  auto lock = m_session->lock();
  return address(server, out);
}

bool SambaBackend::address(std::string_view server, std::string* out) {
  while (server.starts_with('\\')) server.remove_prefix(1);
  if (server.empty()) server = m_options.defaultServer;
  if (server.empty()) return false;
  if (auto it = m_addresses.find(upper(server)); it != m_addresses.end()) {
    *out = it->second;
    return true;
  }
  *out = std::string(server);
  // The names the controller answers with (in the browse list, as the
  // domain's controller) are reached where it was reached, since NetBIOS
  // name resolution does not work on a loopback address.
  if (isAddress(server) && !m_domainNames.contains(*out) && !m_quietUntil.contains(*out)) {
    NetapiBuffer buf;
    const auto asked = std::chrono::steady_clock::now();
    const DWORD status = ::NetServerGetInfo(out->c_str(), 100, buf.out());
    if (status == NERR_Success && buf.as<::SERVER_INFO_100>()) {
      if (const char* name = buf.as<::SERVER_INFO_100>()->sv100_name)
        m_addresses.emplace(upper(name), *out);
    }
    if (status != NERR_Success && std::chrono::steady_clock::now() - asked > kSlowestRefusal) {
      // It waited out the library's time-out: the call that asked would
      // wait as long again. Asked again once the quiet spell is over.
      leaveAlone(*out);
    } else {
      m_domainNames.emplace(*out, std::string());
    }
  }
  return true;
}

std::string SambaBackend::domainName(const std::string& address) {
  std::string& known = m_domainNames[address];
  if (known.empty()) {
    NetapiBuffer buf;
    if (::NetWkstaGetInfo(address.c_str(), 100, buf.out()) == 0 && buf.as<NetapiWkstaInfo100>()) {
      if (const char* group = buf.as<NetapiWkstaInfo100>()->wki100_langroup) known = group;
    }
  }
  return known;
}

DWORD SambaBackend::answer(DWORD status, Family family, const std::string& address) {
  constexpr DWORD kCannotComplete = 1003;
  constexpr DWORD kLogonFailure = 1326;  // ERROR_LOGON_FAILURE
  // Timed out (a semaphore or the network): the controller stopped answering.
  if (status == 121 || status == 1460) {
    leaveAlone(address);
    return ERROR_BAD_NETPATH;
  }
  if (status == kCannotComplete) {
    if (!answersOnPort(address, kSmbPort)) {
      forgetConnections(address);
      return ERROR_BAD_NETPATH;
    }
    // Refused now (a password changed meanwhile): the next call asks again.
    std::lock_guard lock(m_logonMutex);
    m_loggedOn.erase(address);
    return kLogonFailure;
  }
  const DWORD mapped = platformStatus(status, family);
  if (mapped == ERROR_BAD_NETPATH) forgetConnections(address);
  return mapped;
}

void SambaBackend::leaveAlone(const std::string& address) {
  // The library's connection stays: closing it politely would wait on the
  // controller that does not answer, and it may answer again later.
  m_directories.erase(address);
  std::lock_guard lock(m_logonMutex);
  m_loggedOn.erase(address);
  m_quietUntil[address] = std::chrono::steady_clock::now() + m_options.quietAfterTimeout;
}

void SambaBackend::forgetConnections(const std::string& address) {
  m_directories.erase(address);
  std::erase_if(m_pipes, [&](const auto& pipe) { return pipe.first.first == address; });
  {
    std::lock_guard lock(m_logonMutex);
    m_loggedOn.erase(address);
  }
  // The library would keep using its dead connection to a controller that
  // went away, even once it is back.
  m_session->restart();
}

DWORD SambaBackend::openDirectory(const std::string& address) {
  if (!m_options.useDirectory || m_directories.contains(address)) return NERR_Success;
  if (auto it = m_withoutDirectory.find(address); it != m_withoutDirectory.end()) {
    if (std::chrono::steady_clock::now() - it->second < std::chrono::minutes(1))
      return NERR_Success;
    m_withoutDirectory.erase(it);
  }
  switch (askLdap(address, static_cast<int>(m_options.directoryQuestion.count()))) {
    case LdapAnswer::Absent:
      // An NT4-style controller (or one still starting its LDAP server):
      // asked again in a minute, counted from now, not from the question.
      m_withoutDirectory.insert_or_assign(address, std::chrono::steady_clock::now());
      return NERR_Success;
    case LdapAnswer::Silent:
      leaveAlone(address);
      return ERROR_BAD_NETPATH;
    case LdapAnswer::Answers:
      break;
  }
  std::string why;
  bool late = false;
  auto opened = Directory::open(address, m_options.credentials, &why, &late,
                                static_cast<int>(m_options.directoryConnect.count()));
  if (late) {
    leaveAlone(address);
    return ERROR_BAD_NETPATH;
  }
  // Credentials the directory refuses and SMB took: the library serves
  // this call, and the directory is asked again at the next.
  if (opened) m_directories.emplace(address, std::move(opened));
  return NERR_Success;
}

Directory* SambaBackend::directory(const std::string& address) {
  if (!m_options.useDirectory) return nullptr;
  auto it = m_directories.find(address);
  if (it == m_directories.end()) {
    // Reached some other way than reach(): connected here, any failure
    // left to the library's answer.
    openDirectory(address);
    it = m_directories.find(address);
  }
  return it != m_directories.end() ? it->second.get() : nullptr;
}

BackendFactory sambaBackendFactory() {
  return [](const BackendOptions& options, std::string* error) -> std::shared_ptr<Backend> {
    SambaOptions samba;
    if (auto it = options.find("authentication-file"); it != options.end() && !it->second.empty()) {
      if (!readAuthenticationFile(it->second, &samba.credentials, error)) return nullptr;
    } else if (!kerberosCachePath().empty()) {
      samba.credentials.kerberosCache = true;
    }
    if (auto it = options.find("server"); it != options.end()) samba.defaultServer = it->second;
    if (auto it = options.find("directory"); it != options.end() && it->second == "off")
      samba.useDirectory = false;
    auto backend = SambaBackend::start(std::move(samba), error);
    if (!backend) return nullptr;
    auto parts = Backend::servedBy(backend);
    parts->local = std::make_shared<SambaLocalSystem>(defaultLocalRegistryPath(), backend);
    // Other machines' registries: their own, else the version key the
    // directory knows of.
    parts->registry = std::make_shared<ServerRegistry>(
        backend, std::make_shared<VersionRegistry>(backend->computerSystems()));
    parts->network = std::make_shared<SambaNetwork>(backend);
    // Event reports go to this Linux machine's system log.
    parts->eventLog = std::make_shared<SyslogEventLog>();
    return parts;
  };
}

}  // namespace platform::samba
