#include "platform/samba/samba_network.h"

#include <fcntl.h>
#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>

#include "platform/netapi.h"
#include "platform/samba/reachability.h"
#include "platform/samba/samba_backend.h"
#include "platform/samba/same_text.h"

namespace platform::samba {
namespace {

constexpr DWORD ERROR_BAD_NET_NAME = 67;

// Milliseconds a TCP connect to address:port takes (the SYN's round trip),
// or false when it does not connect within timeoutMs.
bool connectRoundTrip(const std::string& address, int port, int timeoutMs, DWORD* ms) {
  addrinfo hints{};
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(address.c_str(), std::to_string(port).c_str(), &hints, &found) != 0) return false;
  bool connected = false;
  for (addrinfo* a = found; a && !connected; a = a->ai_next) {
    const int fd = socket(a->ai_family, a->ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (fd < 0) continue;
    const auto start = std::chrono::steady_clock::now();
    int status = connect(fd, a->ai_addr, a->ai_addrlen);
    if (status != 0 && errno == EINPROGRESS) {
      pollfd p{fd, POLLOUT, 0};
      int error = 0;
      socklen_t size = sizeof error;
      status = poll(&p, 1, timeoutMs) == 1 &&
                       getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0
                   ? 0
                   : -1;
    }
    if (status == 0) {
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
          std::chrono::steady_clock::now() - start);
      *ms = static_cast<DWORD>(took.count());
      connected = true;
    }
    close(fd);
  }
  freeaddrinfo(found);
  return connected;
}

}  // namespace

SambaNetwork::SambaNetwork(std::shared_ptr<SambaBackend> backend) : m_backend(std::move(backend)) {}

DWORD SambaNetwork::domains(std::vector<NETRESOURCE>* out) {
  NetBuffer buf;
  DWORD read = 0, total = 0;
  const DWORD status =
      m_backend->NetServerEnum(m_backend->networkServer(), 101, buf, MAX_PREFERRED_LENGTH, &read,
                               &total, SV_TYPE_DOMAIN_ENUM, "", nullptr);
  if (status != NERR_Success) return status;
  for (const SERVER_INFO_101& d : buf.get<SERVER_INFO_101>())
    out->push_back(windowsNetworkContainer(RESOURCEDISPLAYTYPE_DOMAIN, d.sv101_name, {}));
  return NERR_Success;
}

DWORD SambaNetwork::servers(std::string_view domain, std::vector<NETRESOURCE>* out) {
  NetBuffer buf;
  DWORD read = 0, total = 0;
  const DWORD status =
      m_backend->NetServerEnum(m_backend->networkServer(), 101, buf, MAX_PREFERRED_LENGTH, &read,
                               &total, SV_TYPE_ALL, domain, nullptr);
  if (status != NERR_Success) return status;
  std::vector<SERVER_INFO_101> listed(buf.get<SERVER_INFO_101>().begin(),
                                      buf.get<SERVER_INFO_101>().end());
  std::sort(listed.begin(), listed.end(), [](const auto& a, const auto& b) {
    return std::lexicographical_compare(
        a.sv101_name.begin(), a.sv101_name.end(), b.sv101_name.begin(), b.sv101_name.end(),
        [](unsigned char x, unsigned char y) { return std::toupper(x) < std::toupper(y); });
  });
  for (const SERVER_INFO_101& s : listed)
    out->push_back(windowsNetworkContainer(RESOURCEDISPLAYTYPE_SERVER, "\\\\" + s.sv101_name,
                                           s.sv101_comment));
  return NERR_Success;
}

DWORD SambaNetwork::shares(std::string_view server, std::vector<NETRESOURCE>* out) {
  NetBuffer buf;
  DWORD read = 0, total = 0;
  const DWORD status =
      m_backend->NetShareEnum(server, 1, buf, MAX_PREFERRED_LENGTH, &read, &total, nullptr);
  if (status != NERR_Success) return status;
  for (const SHARE_INFO_1& s : buf.get<SHARE_INFO_1>()) {
    // Hidden shares and IPC are not browsed.
    const DWORD kind = s.shi1_type & ~STYPE_SPECIAL;
    if ((s.shi1_type & STYPE_SPECIAL) || s.shi1_netname.ends_with('$') ||
        (kind != STYPE_DISKTREE && kind != STYPE_PRINTQ))
      continue;
    NETRESOURCE r;
    r.dwType = kind == STYPE_PRINTQ ? RESOURCETYPE_PRINT : RESOURCETYPE_DISK;
    r.dwDisplayType = RESOURCEDISPLAYTYPE_SHARE;
    r.dwUsage = RESOURCEUSAGE_CONNECTABLE;
    r.lpRemoteName = std::string(server) + "\\" + s.shi1_netname;
    r.lpComment = s.shi1_remark;
    r.lpProvider = std::string(kWindowsNetworkProvider);
    out->push_back(std::move(r));
  }
  return NERR_Success;
}

DWORD SambaNetwork::children(DWORD scope, const NETRESOURCE* c, std::vector<NETRESOURCE>* out) {
  if (scope == RESOURCE_CONTEXT) {
    // The neighbourhood: the computers of the machine's own domain.
    return servers(m_backend->machineDomain(), out);
  }
  if (scope != RESOURCE_GLOBALNET) return NERR_Success;  // no connections are kept here
  if (!c) {
    out->push_back(windowsNetworkContainer(RESOURCEDISPLAYTYPE_NETWORK,
                                           std::string(kWindowsNetworkProvider), {}));
    return NERR_Success;
  }
  if (c->dwUsage != 0 && !(c->dwUsage & RESOURCEUSAGE_CONTAINER)) return ERROR_NOT_CONTAINER;
  const std::string_view name = c->lpRemoteName;
  if (name.empty()) {
    if (c->lpProvider.empty()) {
      out->push_back(windowsNetworkContainer(RESOURCEDISPLAYTYPE_NETWORK,
                                             std::string(kWindowsNetworkProvider), {}));
      return NERR_Success;
    }
    if (!sameText(c->lpProvider, kWindowsNetworkProvider)) return ERROR_BAD_NETPATH;
    return domains(out);
  }
  if (name.starts_with("\\\\")) {
    if (name.substr(2).find('\\') != std::string_view::npos) return ERROR_NOT_CONTAINER;
    return shares(name, out);
  }
  if (sameText(name, kWindowsNetworkProvider)) return domains(out);
  return servers(name, out);
}

DWORD SambaNetwork::WNetOpenEnum(DWORD scope, DWORD type, DWORD usage, const NETRESOURCE* container,
                                 HANDLE* enumHandle) {
  if (!enumHandle) return ERROR_INVALID_PARAMETER;
  *enumHandle = 0;
  if (type != RESOURCETYPE_ANY && type != RESOURCETYPE_DISK && type != RESOURCETYPE_PRINT)
    return ERROR_INVALID_PARAMETER;
  if (scope < RESOURCE_CONNECTED || scope > RESOURCE_CONTEXT) return ERROR_INVALID_PARAMETER;
  std::vector<NETRESOURCE> all;
  if (const DWORD status = children(scope, container, &all)) return status;
  std::vector<NETRESOURCE> entries;
  for (auto& r : all) {
    if (!passesEnumFilters(r, type, usage)) continue;
    r.dwScope = scope;
    entries.push_back(std::move(r));
  }
  *enumHandle = m_enums.open(std::move(entries));
  return NERR_Success;
}

DWORD SambaNetwork::WNetEnumResource(HANDLE enumHandle, DWORD* count,
                                     std::vector<NETRESOURCE>& buffer, DWORD* bufferSize) {
  return m_enums.next(enumHandle, count, buffer, bufferSize);
}

DWORD SambaNetwork::WNetCloseEnum(HANDLE enumHandle) { return m_enums.close(enumHandle); }

DWORD SambaNetwork::MultinetGetConnectionPerformance(const NETRESOURCE& resource,
                                                     NETCONNECTINFOSTRUCT* info) {
  if (!info || info->cbStructure < 20) return ERROR_INVALID_PARAMETER;
  const std::string& name = resource.lpRemoteName;
  if (!name.starts_with("\\\\")) return ERROR_BAD_NET_NAME;
  const std::size_t slash = name.find('\\', 2);
  if (slash == std::string::npos) return ERROR_BAD_NET_NAME;
  std::string at;
  if (!m_backend->addressOf(name.substr(0, slash), &at)) return ERROR_BAD_NETPATH;
  DWORD delay = 0;
  if (!connectRoundTrip(at, kSmbPort, 3000, &delay)) return ERROR_BAD_NETPATH;
  // The delay is measured; the link's speed is not known from here, and
  // every figure may differ at the next asking.
  info->dwFlags = WNCON_DYNAMIC;
  info->dwSpeed = 0;
  info->dwDelay = delay;
  info->dwOptDataSize = 0;
  return NERR_Success;
}

}  // namespace platform::samba
