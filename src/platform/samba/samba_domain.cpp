// The account policy, the controller's own information and the browse
// list. An Active Directory domain has no browse service, so the browse
// list is made from the domain's computer accounts.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <memory>

#include <unistd.h>

#include "platform/server_name.h"

#include "platform/paging.h"
#include "platform/samba/account_fields.h"
#include "platform/samba/same_text.h"
#include "platform/samba/samba_backend.h"
#include "platform/samba/machine_identity.h"
#include "platform/samba/server_roles.h"
#include "platform/samba/status_codes.h"

#include "platform/samba/libnetapi.h"

namespace platform::samba {
namespace {

std::string text(const char* s) { return s ? std::string(s) : std::string(); }

std::string domsidText(const ::domsid* sid) {
  if (!sid) return {};
  std::uint64_t authority = 0;
  for (int i = 0; i < 6; ++i) authority = (authority << 8) | sid->id_auth[i];
  std::string out = "S-";
  out += std::to_string(sid->sid_rev_num);
  out += '-';
  out += std::to_string(authority);
  for (int i = 0; i < sid->num_auths && i < MAXSUBAUTHS; ++i) {
    out += '-';
    out += std::to_string(sid->sub_auths[i]);
  }
  return out;
}

// "10.0 (19041)" as major and minor version.
void parseVersion(std::string_view version, DWORD* major, DWORD* minor) {
  unsigned a = 0;
  unsigned b = 0;
  const std::string v(version);
  if (std::sscanf(v.c_str(), "%u.%u", &a, &b) == 2) {
    *major = a;
    *minor = b;
  }
}

// This machine's name as Samba's configuration gives it.
std::string localName() { return machineIdentity().netbiosName; }

// A controller's type without its role bit (serverTypeWithRole adds it).
constexpr DWORD kControllerTypes = SV_TYPE_WORKSTATION | SV_TYPE_SERVER | SV_TYPE_NT;
constexpr DWORD kWorkstationTypes = SV_TYPE_WORKSTATION | SV_TYPE_NT | SV_TYPE_DOMAIN_MEMBER;
constexpr DWORD kMemberServerTypes =
    kWorkstationTypes | SV_TYPE_SERVER | SV_TYPE_SERVER_NT;

}  // namespace

NET_API_STATUS SambaBackend::NetUserModalsGet(std::string_view servername, DWORD level,
                                              NetBuffer& buf) {
  buf.reset();
  if (level != 0 && level != 2 && level != 3) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  NetapiBuffer raw;
  const DWORD status = ::NetUserModalsGet(at.c_str(), level, raw.out());
  if (status != NERR_Success) return answer(status, Family::Other, at);
  if (level == 0) {
    const auto* m = raw.as<::USER_MODALS_INFO_0>();
    if (!m) return ERROR_INVALID_PARAMETER;
    buf.emplace<USER_MODALS_INFO_0>().push_back(
        {m->usrmod0_min_passwd_len, m->usrmod0_max_passwd_age, m->usrmod0_min_passwd_age,
         m->usrmod0_force_logoff, m->usrmod0_password_hist_len});
  } else if (level == 2) {
    const auto* m = raw.as<::USER_MODALS_INFO_2>();
    if (!m) return ERROR_INVALID_PARAMETER;
    buf.emplace<USER_MODALS_INFO_2>().push_back(
        {text(m->usrmod2_domain_name), SID{domsidText(m->usrmod2_domain_id)}});
  } else {
    const auto* m = raw.as<::USER_MODALS_INFO_3>();
    if (!m) return ERROR_INVALID_PARAMETER;
    buf.emplace<USER_MODALS_INFO_3>().push_back({m->usrmod3_lockout_duration,
                                                  m->usrmod3_lockout_observation_window,
                                                  m->usrmod3_lockout_threshold});
  }
  return NERR_Success;
}

NET_API_STATUS SambaBackend::NetUserModalsSet(std::string_view servername, DWORD level,
                                              const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  std::uint32_t err = 0;
  DWORD status = ERROR_INVALID_LEVEL;
  if (const auto* m0 = std::get_if<USER_MODALS_INFO_0>(&info); m0 && level == 0) {
    ::USER_MODALS_INFO_0 raw{m0->usrmod0_min_passwd_len, m0->usrmod0_max_passwd_age,
                             m0->usrmod0_min_passwd_age, m0->usrmod0_force_logoff,
                             m0->usrmod0_password_hist_len};
    status = ::NetUserModalsSet(at.c_str(), 0, reinterpret_cast<std::uint8_t*>(&raw), &err);
  } else if (const auto* m3 = std::get_if<USER_MODALS_INFO_3>(&info); m3 && level == 3) {
    ::USER_MODALS_INFO_3 raw{m3->usrmod3_lockout_duration, m3->usrmod3_lockout_observation_window,
                             m3->usrmod3_lockout_threshold};
    status = ::NetUserModalsSet(at.c_str(), 3, reinterpret_cast<std::uint8_t*>(&raw), &err);
  }
  if (parm_err) *parm_err = err;
  return answer(status, Family::Other, at);
}

NET_API_STATUS SambaBackend::NetServerGetInfo(std::string_view servername, DWORD level,
                                              NetBuffer& buf) {
  buf.reset();
  if (level != 100 && level != 101 && level != 102) return ERROR_INVALID_LEVEL;
  if (isLocalMachine(servername)) {
    // The program's own machine, a Linux workstation of no domain.
    if (level == 100) {
      buf.emplace<SERVER_INFO_100>().push_back({PLATFORM_ID_NT, localName()});
    } else if (level == 101) {
      buf.emplace<SERVER_INFO_101>().push_back(
          {PLATFORM_ID_NT, localName(), 4, 0, SV_TYPE_WORKSTATION | SV_TYPE_NT, {}});
    } else {
      SERVER_INFO_102 self;
      self.sv102_name = localName();
      self.sv102_type = SV_TYPE_WORKSTATION | SV_TYPE_NT;
      buf.emplace<SERVER_INFO_102>().push_back(std::move(self));
    }
    return NERR_Success;
  }
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  NetapiBuffer raw;
  const DWORD status = ::NetServerGetInfo(at.c_str(), level == 102 ? 102 : 101, raw.out());
  if (status != NERR_Success) return answer(status, Family::Other, at);
  if (level == 102) {
    const auto* s = raw.as<::SERVER_INFO_102>();
    if (!s) return ERROR_BAD_NETPATH;
    const std::string name = text(s->sv102_name);
    const DWORD role = controllerRole(at, name, s->sv102_type);
    buf.emplace<SERVER_INFO_102>().push_back(
        {s->sv102_platform_id, name, s->sv102_version_major, s->sv102_version_minor,
         serverTypeWithRole(s->sv102_type, role), text(s->sv102_comment), s->sv102_users,
         static_cast<LONG>(s->sv102_disc), s->sv102_hidden, s->sv102_announce,
         s->sv102_anndelta, s->sv102_licenses, text(s->sv102_userpath)});
    return NERR_Success;
  }
  const auto* s = raw.as<::SERVER_INFO_101>();
  if (!s) return ERROR_BAD_NETPATH;
  if (level == 100) {
    buf.emplace<SERVER_INFO_100>().push_back({s->sv101_platform_id, text(s->sv101_name)});
  } else {
    const std::string name = text(s->sv101_name);
    const DWORD role = controllerRole(at, name, s->sv101_type);
    buf.emplace<SERVER_INFO_101>().push_back({s->sv101_platform_id, name,
                                              s->sv101_version_major, s->sv101_version_minor,
                                              serverTypeWithRole(s->sv101_type, role),
                                              text(s->sv101_comment)});
  }
  return NERR_Success;
}

bool SambaBackend::readComputers(const std::string& address, std::vector<Computer>* out) {
  out->clear();
  if (Directory* dir = directory(address)) {
    std::vector<DirectoryEntry> entries;
    if (!dir->search("(objectClass=computer)",
                     {"sAMAccountName", "description", "userAccountControl", "operatingSystem",
                      "operatingSystemVersion", "operatingSystemServicePack"},
                     &entries))
      return false;
    for (const DirectoryEntry& e : entries) {
      Computer c{std::string(e.text("sAMAccountName")), std::string(e.text("description")),
                 static_cast<DWORD>(e.number("userAccountControl")),
                 std::string(e.text("operatingSystem")),
                 std::string(e.text("operatingSystemVersion")),
                 std::string(e.text("operatingSystemServicePack"))};
      std::string_view name = c.name;
      if (name.ends_with('$')) name.remove_suffix(1);
      m_computerSystems->remember(name, {c.system, c.version, c.servicePack});
      out->push_back(std::move(c));
    }
    return true;
  }
  // Without a directory: the machine accounts of the display information.
  DWORD index = 0;
  for (;;) {
    void* raw = nullptr;
    std::uint32_t read = 0;
    const DWORD status = ::NetQueryDisplayInformation(address.c_str(), 2, index, 1000,
                                                      MAX_PREFERRED_LENGTH, &read, &raw);
    struct Free {
      void operator()(void* p) const { ::NetApiBufferFree(p); }
    };
    std::unique_ptr<void, Free> owned(raw);
    if (status != NERR_Success && status != ERROR_MORE_DATA) return false;
    const auto* machines = static_cast<const ::NET_DISPLAY_MACHINE*>(raw);
    // libnetapi passes these flags on as SAMR's account-control bits (and
    // gives 0x10, "normal", for workstations): only the server trust bit
    // (0x100) tells a controller.
    constexpr DWORD kAcbServerTrust = 0x100;
    for (std::uint32_t i = 0; machines && i < read; ++i) {
      const DWORD kind = (machines[i].usri2_flags & kAcbServerTrust) ? UF_SERVER_TRUST_ACCOUNT
                                                                      : UF_WORKSTATION_TRUST_ACCOUNT;
      out->push_back({text(machines[i].usri2_name), text(machines[i].usri2_comment), kind, {}, {}, {}});
    }
    if (status == NERR_Success || read == 0) return true;
    index = machines[read - 1].usri2_next_index;
  }
}

NET_API_STATUS SambaBackend::NetServerEnum(std::string_view servername, DWORD level,
                                           NetBuffer& buf, DWORD prefmaxlen, DWORD* entriesread,
                                           DWORD* totalentries, DWORD servertype,
                                           std::string_view domain, DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 100 && level != 101) return ERROR_INVALID_LEVEL;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  // libnetapi has no browse-list call, and an AD controller no browser:
  // the domain's computer accounts stand in for the list.
  const std::string domainHere = domainName(at);
  std::vector<SERVER_INFO_101> servers;
  SERVER_INFO_101 self;
  if (!domain.empty() && !sameText(domain, domainHere)) {
    // Only the controller's own domain is known here.
  } else if (servertype == SV_TYPE_DOMAIN_ENUM) {
    servers.push_back({PLATFORM_ID_NT, domainHere, 0, 0, SV_TYPE_DOMAIN_ENUM | SV_TYPE_NT, {}});
  } else {
    // The controller answering tells its own type and version.
    NetapiBuffer raw;
    if (::NetServerGetInfo(at.c_str(), 101, raw.out()) == 0 && raw.as<::SERVER_INFO_101>()) {
      const auto* s = raw.as<::SERVER_INFO_101>();
      self = {s->sv101_platform_id, text(s->sv101_name), s->sv101_version_major,
              s->sv101_version_minor, serverTypeWithRole(s->sv101_type, 0),
              text(s->sv101_comment)};
    }
    std::vector<Computer> computers;
    if (!readComputers(at, &computers)) return ERROR_BAD_NETPATH;
    // The primary controller: the directory's PDC role owner, else the
    // answering controller when it says it is the primary one (an
    // NT4-style PDC; every other controller of its domain is a backup).
    std::string primary = primaryController(at);
    if (primary.empty() && (self.sv101_type & SV_TYPE_DOMAIN_CTRL)) primary = self.sv101_name;
    const auto roleOf = [&](std::string_view name) {
      return primary.empty() || sameText(primary, name) ? SV_TYPE_DOMAIN_CTRL
                                                        : SV_TYPE_DOMAIN_BAKCTRL;
    };
    for (const Computer& c : computers) {
      std::string name = c.name;
      if (name.ends_with('$')) name.pop_back();
      if (name.empty()) continue;
      SERVER_INFO_101 server;
      const DWORD control = c.control;
      if (!self.sv101_name.empty() && sameText(name, self.sv101_name)) {
        server = self;
        // Samba's controller leaves the controller bit out of its own type.
        // A machine that holds its own computer account among the domain's
        // is a controller of the domain (a member's own database does not
        // hold its account in the domain).
        server.sv101_type = serverTypeWithRole(self.sv101_type, roleOf(name));
      } else {
        server.sv101_name = name;
        server.sv101_comment = c.comment;
        const bool serverSystem = c.system.find("Server") != std::string::npos;
        server.sv101_type = (control & UF_SERVER_TRUST_ACCOUNT)
                                ? serverTypeWithRole(kControllerTypes, roleOf(name))
                            : serverSystem ? kMemberServerTypes
                                           : kWorkstationTypes;
        server.sv101_version_major = 0;
        server.sv101_version_minor = 0;
        parseVersion(c.version, &server.sv101_version_major, &server.sv101_version_minor);
      }
      if (servertype != SV_TYPE_ALL && !(server.sv101_type & servertype)) continue;
      servers.push_back(std::move(server));
    }
    // An NT4-style controller holds no account of its own: it is listed
    // as it describes itself.
    const bool selfListed = std::any_of(servers.begin(), servers.end(), [&](const auto& x) {
      return sameText(x.sv101_name, self.sv101_name);
    });
    if (!self.sv101_name.empty() && !selfListed &&
        (servertype == SV_TYPE_ALL || (self.sv101_type & servertype)))
      servers.push_back(self);
    std::sort(servers.begin(), servers.end(), [](const auto& a, const auto& b) {
      return a.sv101_name < b.sv101_name;
    });
  }
  // The answering controller is reached by its name where it was reached
  // (the other machines need a name resolution of their own).
  if (!self.sv101_name.empty()) {
    std::string key = self.sv101_name;
    for (char& ch : key) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
    m_addresses.emplace(std::move(key), at);
  }
  if (level == 100) {
    return pageEnum<SERVER_INFO_100>(buf, servers.size(), prefmaxlen, entriesread,
                                          totalentries, resume, [&](std::size_t i) {
                                            return SERVER_INFO_100{servers[i].sv101_platform_id,
                                                                   servers[i].sv101_name};
                                          });
  }
  return pageEnum<SERVER_INFO_101>(buf, servers.size(), prefmaxlen, entriesread,
                                        totalentries, resume,
                                        [&](std::size_t i) { return std::move(servers[i]); });
}

NET_API_STATUS SambaBackend::NetGetDCName(std::string_view servername,
                                          std::string_view domainname, std::string* name) {
  auto lock = m_session->lock();
  std::string domain(domainname);
  std::string at;
  if (isLocalMachine(servername)) {
    // The domain of the credentials, else the one Samba's configuration
    // names, found by Samba's name resolution (DNS, WINS, broadcast).
    if (domain.empty()) domain = machineDomain();
    if (domain.empty()) return NERR_DCNotFound;
  } else if (const DWORD reached = reach(servername, &at, lock)) {
    return reached;
  }
  NetapiBuffer raw;
  const DWORD status = ::NetGetDCName(at.empty() ? nullptr : at.c_str(),
                                      domain.empty() ? nullptr : domain.c_str(), raw.out());
  // 1355: no such domain; 1908: none of its controllers answers.
  if (status == 1355 || status == 1908) return NERR_DCNotFound;
  if (status != NERR_Success) return answer(status, Family::Other, at);
  const char* dc = raw.as<char>();
  if (!dc) return NERR_DCNotFound;
  *name = uncName(dc);
  return NERR_Success;
}

NET_API_STATUS SambaBackend::NetWkstaGetInfo(std::string_view servername, DWORD level,
                                             NetBuffer& buf) {
  buf.reset();
  if (level != 100) return ERROR_INVALID_LEVEL;
  if (isLocalMachine(servername)) {
    const std::string domain = machineDomain();
    buf.emplace<WKSTA_INFO_100>().push_back(
        {PLATFORM_ID_NT, localName(), domain.empty() ? "WORKGROUP" : domain, 4, 0});
    return NERR_Success;
  }
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  NetapiBuffer raw;
  const DWORD status = ::NetWkstaGetInfo(at.c_str(), 100, raw.out());
  if (status != NERR_Success) return answer(status, Family::Other, at);
  const auto* w = raw.as<NetapiWkstaInfo100>();
  if (!w) return ERROR_BAD_NETPATH;
  buf.emplace<WKSTA_INFO_100>().push_back({w->wki100_platform_id, text(w->wki100_computername),
                                           text(w->wki100_langroup), w->wki100_ver_major,
                                           w->wki100_ver_minor});
  return NERR_Success;
}

}  // namespace platform::samba

namespace platform::samba {

std::string SambaBackend::machineDomain() const {
  {
    std::lock_guard lock(m_logonMutex);
    if (!m_options.credentials.domain.empty()) return m_options.credentials.domain;
  }
  return machineIdentity().workgroup;
}

}  // namespace platform::samba
