// A server's settings, sessions, open files and shares in the lab backend.

#include <algorithm>
#include <cctype>

#include "platform/lab/lab_servers.h"
#include "platform/paging.h"
#include "platform/lab/resolve.h"

namespace lab {

using namespace platform;

namespace {

// Sessions, open files, share details and the server's settings are for
// the machine's administrators and server operators, as on NT.
bool mayAdminister(const Network& net, const Machine& m) {
  const Rights r = rightsOn(net, m);
  return r.administrator || r.serverOperator;
}

std::string withoutSlashes(std::string_view name) {
  while (!name.empty() && name.front() == '\\') name.remove_prefix(1);
  return std::string(name);
}

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
  return text.size() >= prefix.size() && upper(text.substr(0, prefix.size())) == upper(prefix);
}

DWORD shareType(const Share& s) {
  DWORD t = s.type == ShareType::Print ? STYPE_PRINTQ
            : s.type == ShareType::Ipc ? STYPE_IPC
                                       : STYPE_DISKTREE;
  if (isAdministrativeShare(s.name)) t |= STYPE_SPECIAL;
  return t;
}

// Sessions holding a file below a disk share's folder use it.
DWORD currentUses(const Machine& m, const Share& s) {
  if (s.type != ShareType::Disk || s.path.empty()) return 0;
  DWORD uses = 0;
  for (const auto& session : m.sessions) {
    if (std::any_of(session.files.begin(), session.files.end(),
                    [&](const OpenFile& f) { return startsWithNoCase(f.path, s.path); })) {
      ++uses;
    }
  }
  return uses;
}

SHARE_INFO_2 info2(const Machine& m, const Share& s) {
  return SHARE_INFO_2{s.name, shareType(s), s.remark, 0, s.maxUses, currentUses(m, s), s.path, {}};
}

DWORD invalid(DWORD parm, DWORD* parm_err) {
  if (parm_err) *parm_err = parm;
  return ERROR_INVALID_PARAMETER;
}

bool validShareName(std::string_view name) {
  if (name.empty() || name.size() > NNLEN) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return name.find_first_of("\\/:*?\"<>|") == std::string_view::npos;
}

// A folder on one of the machine's drives: "X:\" and below.
bool validDiskPath(std::string_view path) {
  return path.size() >= 3 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':' &&
         path[2] == '\\';
}

// The remark, the user limit and (for a disk share) the folder of `s` as
// `in` gives them, checked before anything changes.
DWORD checkShareFields(const SHARE_INFO_2& in, ShareType type, DWORD* parm_err) {
  if (in.shi2_remark.size() > MAXCOMMENTSZ) return invalid(SHARE_REMARK_PARMNUM, parm_err);
  if (in.shi2_max_uses == 0) return invalid(SHARE_MAX_USES_PARMNUM, parm_err);
  if (type == ShareType::Disk && !validDiskPath(in.shi2_path)) return invalid(SHARE_PATH_PARMNUM, parm_err);
  return NERR_Success;
}

}  // namespace

DWORD LabServers::NetServerSetInfo(std::string_view server, DWORD level, const NetInfo& info,
                                   DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    DWORD status = 0;
    Machine* m = locate(net, server, "NetServerSetInfo", &status);
    if (!m) return status;
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    const Machine before = *m;
    if (const auto* i = std::get_if<SERVER_INFO_1005>(&info); i && level == 1005) {
      if (i->sv1005_comment.size() > MAXCOMMENTSZ) return invalid(SV_COMMENT_PARMNUM, parm_err);
      m->comment = i->sv1005_comment;
    } else if (const auto* i = std::get_if<SERVER_INFO_1010>(&info); i && level == 1010) {
      if (i->sv1010_disc != SV_NODISC && (i->sv1010_disc < 0 || i->sv1010_disc > 65535)) {
        return invalid(SV_DISC_PARMNUM, parm_err);
      }
      m->server.disc = i->sv1010_disc;
    } else if (const auto* i = std::get_if<SERVER_INFO_1016>(&info); i && level == 1016) {
      if (i->sv1016_hidden > 1) return invalid(SV_HIDDEN_PARMNUM, parm_err);
      m->inBrowseList = i->sv1016_hidden == 0;
    } else if (const auto* i = std::get_if<SERVER_INFO_1017>(&info); i && level == 1017) {
      if (i->sv1017_announce < 1 || i->sv1017_announce > 65535) {
        return invalid(SV_ANNOUNCE_PARMNUM, parm_err);
      }
      m->server.announce = i->sv1017_announce;
    } else if (const auto* i = std::get_if<SERVER_INFO_1018>(&info); i && level == 1018) {
      if (i->sv1018_anndelta > 65535) return invalid(SV_ANNDELTA_PARMNUM, parm_err);
      m->server.anndelta = i->sv1018_anndelta;
    } else if (const auto* i = std::get_if<SERVER_INFO_1516>(&info); i && level == 1516) {
      if (i->sv1516_timesource > 1) return invalid(SV_TIMESOURCE_PARMNUM, parm_err);
      m->type = i->sv1516_timesource ? (m->type | SV_TYPE_TIME_SOURCE)
                                     : (m->type & ~SV_TYPE_TIME_SOURCE);
    } else {
      return ERROR_INVALID_LEVEL;
    }
    if (m->comment != before.comment || m->server != before.server ||
        m->inBrowseList != before.inBrowseList || m->type != before.type) {
      changes.serverInfo(*m);
    }
    return NERR_Success;
  });
}

DWORD LabServers::NetSessionEnum(std::string_view server, std::string_view client,
                                 std::string_view user, DWORD level, NetBuffer& buf,
                                 DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                                 DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 2) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "NetSessionEnum", &status);
    if (!m) return status;
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    const std::string c = upper(withoutSlashes(client));
    const std::string u = upper(user);
    std::vector<const Session*> list;
    for (const auto& s : m->sessions) {
      if ((c.empty() || upper(s.client) == c) && (u.empty() || upper(s.user) == u)) {
        list.push_back(&s);
      }
    }
    if (list.empty() && !c.empty()) return NERR_ClientNameNotFound;
    if (list.empty() && !u.empty()) return NERR_UserNotFound;
    return pageEnum<SESSION_INFO_2>(
        buf, list.size(), prefmaxlen, entriesread, totalentries, resume, [&](std::size_t i) {
          const Session& s = *list[i];
          return SESSION_INFO_2{s.client, s.user, static_cast<DWORD>(s.files.size()), s.time,
                                s.idle, s.guest ? SESS_GUEST : 0u, s.clientType};
        });
  });
}

DWORD LabServers::NetSessionDel(std::string_view server, std::string_view client,
                                std::string_view user) {
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    DWORD status = 0;
    Machine* m = locate(net, server, "NetSessionDel", &status);
    if (!m) return status;
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    const std::string c = withoutSlashes(client);
    const std::size_t ended = m->endSessions(c, user);
    if (ended == 0 && !c.empty()) return NERR_ClientNameNotFound;
    if (ended == 0 && !user.empty()) return NERR_UserNotFound;
    if (ended != 0) changes.disconnect(*m, c, user);
    return NERR_Success;
  });
}

DWORD LabServers::NetFileEnum(std::string_view server, std::string_view basepath,
                              std::string_view user, DWORD level, NetBuffer& buf,
                              DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                              DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 3) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "NetFileEnum", &status);
    if (!m) return status;
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    const std::string u = upper(user);
    std::vector<std::pair<const Session*, const OpenFile*>> list;
    for (const auto& s : m->sessions) {
      if (!u.empty() && upper(s.user) != u) continue;
      for (const auto& f : s.files) {
        if (basepath.empty() || startsWithNoCase(f.path, basepath)) list.emplace_back(&s, &f);
      }
    }
    return pageEnum<FILE_INFO_3>(buf, list.size(), prefmaxlen, entriesread, totalentries, resume,
                                 [&](std::size_t i) {
                                   const auto& [s, f] = list[i];
                                   return FILE_INFO_3{f->id, f->permissions, f->locks, f->path,
                                                      s->user};
                                 });
  });
}

DWORD LabServers::NetShareEnum(std::string_view server, DWORD level, NetBuffer& buf,
                               DWORD prefmaxlen, DWORD* entriesread, DWORD* totalentries,
                               DWORD* resume) {
  clearEnum(buf, entriesread, totalentries);
  if (level != 1 && level != 2) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "NetShareEnum", &status);
    if (!m) return status;
    const auto& shares = m->shares;
    if (level == 1) {
      return pageEnum<SHARE_INFO_1>(buf, shares.size(), prefmaxlen, entriesread, totalentries,
                                    resume, [&](std::size_t i) {
                                      return SHARE_INFO_1{shares[i].name, shareType(shares[i]),
                                                          shares[i].remark};
                                    });
    }
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    return pageEnum<SHARE_INFO_2>(buf, shares.size(), prefmaxlen, entriesread, totalentries,
                                  resume, [&](std::size_t i) { return info2(*m, shares[i]); });
  });
}

DWORD LabServers::NetShareGetInfo(std::string_view server, std::string_view netname, DWORD level,
                                  NetBuffer& buf) {
  buf.reset();
  if (level != 1 && level != 2) return ERROR_INVALID_LEVEL;
  return query([&](const Network& net) -> DWORD {
    DWORD status = 0;
    const Machine* m = locate(net, server, "NetShareGetInfo", &status);
    if (!m) return status;
    const Share* s = m->findShare(netname);
    if (!s) return NERR_NetNameNotFound;
    if (level == 1) {
      buf.emplace<SHARE_INFO_1>().push_back({s->name, shareType(*s), s->remark});
      return NERR_Success;
    }
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    buf.emplace<SHARE_INFO_2>().push_back(info2(*m, *s));
    return NERR_Success;
  });
}

DWORD LabServers::NetShareAdd(std::string_view server, DWORD level, const NetInfo& info,
                              DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  const auto* in = std::get_if<SHARE_INFO_2>(&info);
  if (level != 2 || !in) return ERROR_INVALID_LEVEL;
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    DWORD status = 0;
    Machine* m = locate(net, server, "NetShareAdd", &status);
    if (!m) return status;
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    if (!validShareName(in->shi2_netname)) return invalid(SHARE_NETNAME_PARMNUM, parm_err);
    const DWORD kind = in->shi2_type & ~STYPE_SPECIAL;
    if (kind != STYPE_DISKTREE && kind != STYPE_PRINTQ) return invalid(SHARE_TYPE_PARMNUM, parm_err);
    const ShareType type = kind == STYPE_PRINTQ ? ShareType::Print : ShareType::Disk;
    if (DWORD st = checkShareFields(*in, type, parm_err)) return st;
    if (m->findShare(in->shi2_netname)) return NERR_DuplicateShare;
    // A folder on a drive the machine does not have (a lab that lists the
    // machine's volumes says which it has).
    if (type == ShareType::Disk && !m->volumes.empty() && !m->findVolume(in->shi2_path))
      return NERR_UnknownDevDir;
    m->shares.push_back(Share{in->shi2_netname, type, in->shi2_path, in->shi2_remark,
                              in->shi2_max_uses});
    changes.share(*m, upper(in->shi2_netname));
    return NERR_Success;
  });
}

DWORD LabServers::NetShareDel(std::string_view server, std::string_view netname, DWORD) {
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    DWORD status = 0;
    Machine* m = locate(net, server, "NetShareDel", &status);
    if (!m) return status;
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    if (!m->findShare(netname)) return NERR_NetNameNotFound;
    const std::string key = upper(netname);
    std::erase_if(m->shares, [&](const Share& s) { return upper(s.name) == key; });
    changes.share(*m, key);
    return NERR_Success;
  });
}

DWORD LabServers::NetShareSetInfo(std::string_view server, std::string_view netname, DWORD level,
                                  const NetInfo& info, DWORD* parm_err) {
  if (parm_err) *parm_err = 0;
  return change([&](Network& net, ChangeSet& changes) -> DWORD {
    DWORD status = 0;
    Machine* m = locate(net, server, "NetShareSetInfo", &status);
    if (!m) return status;
    if (!mayAdminister(net, *m)) return ERROR_ACCESS_DENIED;
    Share* s = m->findShare(netname);
    if (!s) return NERR_NetNameNotFound;
    Share edited = *s;
    if (const auto* i = std::get_if<SHARE_INFO_2>(&info); i && level == 2) {
      if (DWORD st = checkShareFields(*i, s->type, parm_err)) return st;
      edited.remark = i->shi2_remark;
      edited.maxUses = i->shi2_max_uses;
      if (s->type == ShareType::Disk) edited.path = i->shi2_path;
    } else if (const auto* i = std::get_if<SHARE_INFO_1004>(&info); i && level == 1004) {
      if (i->shi1004_remark.size() > MAXCOMMENTSZ) return invalid(SHARE_REMARK_PARMNUM, parm_err);
      edited.remark = i->shi1004_remark;
    } else if (const auto* i = std::get_if<SHARE_INFO_1006>(&info); i && level == 1006) {
      if (i->shi1006_max_uses == 0) return invalid(SHARE_MAX_USES_PARMNUM, parm_err);
      edited.maxUses = i->shi1006_max_uses;
    } else {
      return ERROR_INVALID_LEVEL;
    }
    if (edited == *s) return NERR_Success;
    *s = std::move(edited);
    changes.share(*m, upper(s->name));
    return NERR_Success;
  });
}

}  // namespace lab
