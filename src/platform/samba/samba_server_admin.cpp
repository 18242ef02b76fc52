// A server's own administration: its settings, sessions, open files and
// shares. libnetapi serves settings, files and shares; sessions, which it
// lacks, go through the server's srvsvc pipe (rpc_pipe.h).
#include <algorithm>
#include <optional>

#include "platform/paging.h"
#include "platform/samba/libnetapi.h"
#include "platform/samba/rpc_pipe.h"
#include "platform/samba/samba_backend.h"
#include "platform/samba/same_text.h"
#include "platform/samba/status_codes.h"

namespace platform::samba {
namespace {

std::string text(const char* s) { return s ? std::string(s) : std::string(); }

// A client's name without its "\\", as the server lists it.
std::string_view bareClient(std::string_view name) {
  while (name.starts_with('\\')) name.remove_prefix(1);
  return name;
}

SHARE_INFO_2 shareFrom(const ::SHARE_INFO_2& s) {
  return {text(s.shi2_netname), s.shi2_type,         text(s.shi2_remark), s.shi2_permissions,
          s.shi2_max_uses,      s.shi2_current_uses, text(s.shi2_path),   text(s.shi2_passwd)};
}

}  // namespace

DWORD SambaBackend::findShare(const std::string& address, std::string_view name,
                              SHARE_INFO_2* out) {
  std::optional<SHARE_INFO_2> found;
  const DWORD status = enumerateAll<::SHARE_INFO_2>(
      [&](std::uint8_t** b, std::uint32_t* r, std::uint32_t* t, std::uint32_t* h) {
        return static_cast<DWORD>(
            ::NetShareEnum(address.c_str(), 2, b, MAX_PREFERRED_LENGTH, r, t, h));
      },
      [&](const ::SHARE_INFO_2& s) {
        if (!found && sameText(text(s.shi2_netname), name)) found = shareFrom(s);
      });
  if (status != NERR_Success) return shareAnswer(status, address);
  if (!found) return NERR_NetNameNotFound;
  *out = std::move(*found);
  return NERR_Success;
}

DWORD SambaBackend::onPipe(std::string_view server, RpcInterface which,
                           const std::function<DWORD(RpcPipe&)>& use) {
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(server, &at, lock)) return reached;
  return onPipeAt(at, which, use);
}

DWORD SambaBackend::onPipeAt(const std::string& at, RpcInterface which,
                             const std::function<DWORD(RpcPipe&)>& use) {
  const auto key = std::make_pair(at, static_cast<int>(which));
  auto it = m_pipes.find(key);
  if (it != m_pipes.end() && !it->second->usable()) {
    m_pipes.erase(it);
    it = m_pipes.end();
  }
  if (it == m_pipes.end()) {
    DWORD status = 0;
    std::string why;
    auto pipe = RpcPipe::open(which, at, m_options.credentials, kRpcCallSeconds, kRpcConnectSeconds,
                              &status, &why);
    if (!pipe) return pipeStatus(status, at);
    it = m_pipes.emplace(key, std::move(pipe)).first;
  }
  const DWORD status = use(*it->second);
  if (!it->second->usable()) m_pipes.erase(it);
  return pipeStatus(status, at);
}

DWORD SambaBackend::pipeStatus(DWORD status, const std::string& address) {
  switch (status) {
    case 121:  // no answer in time
      leaveAlone(address);
      return ERROR_BAD_NETPATH;
    case 64:  // the connection dropped
    case 59:
      forgetConnections(address);
      return ERROR_BAD_NETPATH;
    case 1326: {
      std::lock_guard lock(m_logonMutex);
      m_loggedOn.erase(address);
      return status;
    }
    default:
      return status;
  }
}

NET_API_STATUS SambaBackend::NetServerSetInfo(std::string_view servername, DWORD level,
                                              const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (isLocalMachine(servername)) return ERROR_ACCESS_DENIED;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  std::uint32_t error = 0;
  DWORD status = ERROR_INVALID_LEVEL;
  if (const auto* i = std::get_if<SERVER_INFO_1005>(&info); i && level == 1005) {
    const ::SERVER_INFO_1005 raw{i->sv1005_comment.c_str()};
    status = ::NetServerSetInfo(
        at.c_str(), 1005, reinterpret_cast<std::uint8_t*>(const_cast<::SERVER_INFO_1005*>(&raw)),
        &error);
  } else if (const auto* i = std::get_if<SERVER_INFO_1010>(&info); i && level == 1010) {
    ::SERVER_INFO_1010 raw{i->sv1010_disc};
    status = ::NetServerSetInfo(at.c_str(), 1010, reinterpret_cast<std::uint8_t*>(&raw), &error);
  } else if (const auto* i = std::get_if<SERVER_INFO_1016>(&info); i && level == 1016) {
    ::SERVER_INFO_1016 raw{static_cast<std::uint8_t>(i->sv1016_hidden != 0)};
    status = ::NetServerSetInfo(at.c_str(), 1016, reinterpret_cast<std::uint8_t*>(&raw), &error);
  } else if (const auto* i = std::get_if<SERVER_INFO_1017>(&info); i && level == 1017) {
    ::SERVER_INFO_1017 raw{i->sv1017_announce};
    status = ::NetServerSetInfo(at.c_str(), 1017, reinterpret_cast<std::uint8_t*>(&raw), &error);
  } else if (const auto* i = std::get_if<SERVER_INFO_1018>(&info); i && level == 1018) {
    ::SERVER_INFO_1018 raw{i->sv1018_anndelta};
    status = ::NetServerSetInfo(at.c_str(), 1018, reinterpret_cast<std::uint8_t*>(&raw), &error);
  } else if (level == 1516) {
    // A time source is a role of the machine's time service, which no SMB
    // server call reaches.
    return ERROR_NOT_SUPPORTED;
  }
  if (parm_err) *parm_err = error;
  if (status == ERROR_INVALID_LEVEL) return status;
  if (status != NERR_Success) return answer(status, Family::Other, at);
  // A Samba server answers success and keeps nothing (its settings live in
  // its configuration file): what it reports afterwards is the truth.
  NetapiBuffer after;
  if (::NetServerGetInfo(at.c_str(), 102, after.out()) != NERR_Success ||
      !after.as<::SERVER_INFO_102>())
    return NERR_Success;
  const auto& now = *after.as<::SERVER_INFO_102>();
  DWORD parameter = 0;
  if (const auto* i = std::get_if<SERVER_INFO_1005>(&info); i && level == 1005) {
    if (text(now.sv102_comment) != i->sv1005_comment) parameter = SV_COMMENT_PARMNUM;
  } else if (const auto* i = std::get_if<SERVER_INFO_1010>(&info); i && level == 1010) {
    if (static_cast<LONG>(now.sv102_disc) != i->sv1010_disc) parameter = SV_DISC_PARMNUM;
  } else if (const auto* i = std::get_if<SERVER_INFO_1016>(&info); i && level == 1016) {
    if ((now.sv102_hidden != 0) != (i->sv1016_hidden != 0)) parameter = SV_HIDDEN_PARMNUM;
  } else if (const auto* i = std::get_if<SERVER_INFO_1017>(&info); i && level == 1017) {
    if (now.sv102_announce != i->sv1017_announce) parameter = SV_ANNOUNCE_PARMNUM;
  } else if (const auto* i = std::get_if<SERVER_INFO_1018>(&info); i && level == 1018) {
    if (now.sv102_anndelta != i->sv1018_anndelta) parameter = SV_ANNDELTA_PARMNUM;
  }
  if (parameter == 0) return NERR_Success;
  if (parm_err) *parm_err = parameter;
  return ERROR_NOT_SUPPORTED;
}

NET_API_STATUS SambaBackend::NetSessionEnum(std::string_view servername, std::string_view client,
                                            std::string_view user, DWORD level, NetBuffer& buf,
                                            DWORD prefmaxlen, DWORD* entriesread,
                                            DWORD* totalentries, DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 2) return ERROR_INVALID_LEVEL;
  if (isLocalMachine(servername)) return ERROR_NOT_SUPPORTED;
  std::vector<RpcSession> sessions;
  const DWORD status = onPipe(servername, RpcInterface::Sessions,
                              [&](RpcPipe& pipe) { return pipe.sessions(&sessions); });
  if (status != NERR_Success) return status;
  std::erase_if(sessions, [&](const RpcSession& s) {
    return (!client.empty() && !sameText(bareClient(s.client), bareClient(client))) ||
           (!user.empty() && !sameText(s.user, user));
  });
  return pageEnum<SESSION_INFO_2>(buf, sessions.size(), prefmaxlen, entriesread, totalentries,
                                  resume, [&](std::size_t i) {
                                    RpcSession& s = sessions[i];
                                    return SESSION_INFO_2{std::string(bareClient(s.client)),
                                                          std::move(s.user),
                                                          s.opens,
                                                          s.seconds,
                                                          s.idleSeconds,
                                                          s.flags,
                                                          std::move(s.clientType)};
                                  });
}

NET_API_STATUS SambaBackend::NetSessionDel(std::string_view servername, std::string_view client,
                                           std::string_view user) {
  if (isLocalMachine(servername)) return ERROR_NOT_SUPPORTED;
  return onPipe(servername, RpcInterface::Sessions, [&](RpcPipe& pipe) -> DWORD {
    // Samba answers 5 when no session matches; the caller's reason is that
    // there is none.
    std::vector<RpcSession> sessions;
    if (const DWORD status = pipe.sessions(&sessions)) return status;
    const bool any = std::any_of(sessions.begin(), sessions.end(), [&](const RpcSession& s) {
      return (client.empty() || sameText(bareClient(s.client), bareClient(client))) &&
             (user.empty() || sameText(s.user, user));
    });
    if (!any) return NERR_ClientNameNotFound;
    return pipe.deleteSessions(client, user);
  });
}

NET_API_STATUS SambaBackend::NetFileEnum(std::string_view servername, std::string_view basepath,
                                         std::string_view user, DWORD level, NetBuffer& buf,
                                         DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                                         DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 3) return ERROR_INVALID_LEVEL;
  if (isLocalMachine(servername)) return ERROR_NOT_SUPPORTED;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string path(basepath), who(user);
  std::vector<FILE_INFO_3> files;
  const DWORD status = enumerateAll<::FILE_INFO_3>(
      [&](std::uint8_t** b, std::uint32_t* r, std::uint32_t* t, std::uint32_t* h) {
        return static_cast<DWORD>(::NetFileEnum(at.c_str(), path.empty() ? nullptr : path.c_str(),
                                                who.empty() ? nullptr : who.c_str(), 3, b,
                                                MAX_PREFERRED_LENGTH, r, t, h));
      },
      [&](const ::FILE_INFO_3& f) {
        files.push_back({f.fi3_id, f.fi3_permissions, f.fi3_num_locks, text(f.fi3_pathname),
                         text(f.fi3_username)});
      });
  if (status != NERR_Success) return answer(status, Family::Other, at);
  return pageEnum<FILE_INFO_3>(buf, files.size(), prefmaxlen, entriesread, totalentries, resume,
                               [&](std::size_t i) { return std::move(files[i]); });
}

NET_API_STATUS SambaBackend::NetShareEnum(std::string_view servername, DWORD level, NetBuffer& buf,
                                          DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                                          DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 1 && level != 2) return ERROR_INVALID_LEVEL;
  if (isLocalMachine(servername)) return ERROR_NOT_SUPPORTED;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  std::vector<SHARE_INFO_2> shares;
  const DWORD status = enumerateAll<::SHARE_INFO_2>(
      [&](std::uint8_t** b, std::uint32_t* r, std::uint32_t* t, std::uint32_t* h) {
        return static_cast<DWORD>(::NetShareEnum(at.c_str(), 2, b, MAX_PREFERRED_LENGTH, r, t, h));
      },
      [&](const ::SHARE_INFO_2& s) { shares.push_back(shareFrom(s)); });
  if (status != NERR_Success) return answer(status, Family::Other, at);
  if (level == 1) {
    return pageEnum<SHARE_INFO_1>(
        buf, shares.size(), prefmaxlen, entriesread, totalentries, resume, [&](std::size_t i) {
          return SHARE_INFO_1{shares[i].shi2_netname, shares[i].shi2_type, shares[i].shi2_remark};
        });
  }
  return pageEnum<SHARE_INFO_2>(buf, shares.size(), prefmaxlen, entriesread, totalentries, resume,
                                [&](std::size_t i) { return std::move(shares[i]); });
}

NET_API_STATUS SambaBackend::NetShareGetInfo(std::string_view servername, std::string_view netname,
                                             DWORD level, NetBuffer& buf) {
  buf.reset();
  if (level != 1 && level != 2) return ERROR_INVALID_LEVEL;
  if (isLocalMachine(servername)) return ERROR_NOT_SUPPORTED;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string name(netname);
  NetapiBuffer raw;
  const DWORD status = ::NetShareGetInfo(at.c_str(), name.c_str(), 2, raw.out());
  SHARE_INFO_2 share;
  if (status == NERR_Success && raw.as<::SHARE_INFO_2>()) {
    share = shareFrom(*raw.as<::SHARE_INFO_2>());
  } else if (status == ERROR_INVALID_NAME || status == NERR_Success) {
    // Samba's share service knows a share made over the network only once
    // something else has made it read its configuration again, while its
    // enumeration lists it at once: the share is looked for there.
    if (const DWORD found = findShare(at, name, &share)) return found;
  } else {
    return shareAnswer(status, at);
  }
  if (level == 1) {
    buf.emplace<SHARE_INFO_1>().push_back(
        {std::move(share.shi2_netname), share.shi2_type, std::move(share.shi2_remark)});
  } else {
    buf.emplace<SHARE_INFO_2>().push_back(std::move(share));
  }
  return NERR_Success;
}

NET_API_STATUS SambaBackend::NetShareAdd(std::string_view servername, DWORD level,
                                         const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  const auto* in = std::get_if<SHARE_INFO_2>(&info);
  if (level != 2 || !in) return ERROR_INVALID_LEVEL;
  if (isLocalMachine(servername)) return ERROR_NOT_SUPPORTED;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  ::SHARE_INFO_2 raw{in->shi2_netname.c_str(), in->shi2_type,          in->shi2_remark.c_str(),
                     in->shi2_permissions,     in->shi2_max_uses,      0,
                     in->shi2_path.c_str(),    in->shi2_passwd.c_str()};
  std::uint32_t error = 0;
  const DWORD status = ::NetShareAdd(at.c_str(), 2, reinterpret_cast<std::uint8_t*>(&raw), &error);
  if (parm_err) *parm_err = error;
  if (status == NERR_Success) return NERR_Success;
  // Samba runs its add share command whether or not the name is taken, and
  // answers that command's failure: a share of the name is the reason.
  SHARE_INFO_2 existing;
  if (findShare(at, in->shi2_netname, &existing) == NERR_Success) return NERR_DuplicateShare;
  return status == ERROR_INVALID_NAME ? status : shareAnswer(status, at);
}

NET_API_STATUS SambaBackend::NetShareDel(std::string_view servername, std::string_view netname,
                                         DWORD reserved) {
  if (isLocalMachine(servername)) return ERROR_NOT_SUPPORTED;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string name(netname);
  const DWORD status = ::NetShareDel(at.c_str(), name.c_str(), reserved);
  return status == NERR_Success ? NERR_Success : shareAnswer(status, at);
}

NET_API_STATUS SambaBackend::NetShareSetInfo(std::string_view servername, std::string_view netname,
                                             DWORD level, const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  if (isLocalMachine(servername)) return ERROR_NOT_SUPPORTED;
  auto lock = m_session->lock();
  std::string at;
  if (const DWORD reached = reach(servername, &at, lock)) return reached;
  const std::string name(netname);
  std::uint32_t error = 0;
  DWORD status = ERROR_INVALID_LEVEL;
  if (const auto* i = std::get_if<SHARE_INFO_2>(&info); i && level == 2) {
    ::SHARE_INFO_2 raw{i->shi2_netname.c_str(), i->shi2_type,          i->shi2_remark.c_str(),
                       i->shi2_permissions,     i->shi2_max_uses,      0,
                       i->shi2_path.c_str(),    i->shi2_passwd.c_str()};
    status = ::NetShareSetInfo(at.c_str(), name.c_str(), 2, reinterpret_cast<std::uint8_t*>(&raw),
                               &error);
  } else if (const auto* i = std::get_if<SHARE_INFO_1004>(&info); i && level == 1004) {
    ::SHARE_INFO_1004 raw{i->shi1004_remark.c_str()};
    status = ::NetShareSetInfo(at.c_str(), name.c_str(), 1004,
                               reinterpret_cast<std::uint8_t*>(&raw), &error);
  } else if (const auto* i = std::get_if<SHARE_INFO_1006>(&info); i && level == 1006) {
    ::SHARE_INFO_1006 raw{i->shi1006_max_uses};
    status = ::NetShareSetInfo(at.c_str(), name.c_str(), 1006,
                               reinterpret_cast<std::uint8_t*>(&raw), &error);
  }
  if (parm_err) *parm_err = error;
  if (status == ERROR_INVALID_LEVEL) return status;
  return status == NERR_Success ? NERR_Success : shareAnswer(status, at);
}

DWORD SambaBackend::shareAnswer(DWORD status, const std::string& address) {
  switch (status) {
    case 2310:  // NERR_NetNameNotFound, as the server says it
    case 2118:  // NERR_DuplicateShare
    case 2116:  // NERR_UnknownDevDir
    case 87:
    case 5:
      return status;
    case 1222:  // WERR_BAD_NET_NAME as the library maps it: no such share
    case 67:
    case 123:  // Samba's answer for a share name it does not know
      return NERR_NetNameNotFound;
    default:
      return answer(status, Family::Other, address);
  }
}

}  // namespace platform::samba
