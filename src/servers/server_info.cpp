#include "servers/server_info.h"

namespace servers {

using namespace platform;

namespace {

// What the dialog asks for per call; the answer is read until it ends.
constexpr DWORD kPreferredBytes = 6655350;

template <class T, class Call>
DWORD readToEnd(std::vector<T>* out, Call call) {
  out->clear();
  DWORD resume = 0;
  for (;;) {
    NetBuffer buf;
    DWORD read = 0;
    DWORD total = 0;
    const DWORD st = call(buf, &read, &total, &resume);
    if (st != NERR_Success && st != ERROR_MORE_DATA) return st;
    auto page = buf.get<T>();
    out->insert(out->end(), page.begin(), page.end());
    // A server that says "more" but gives nothing and no place to go on
    // from would loop for ever: what was read stands.
    if (st == NERR_Success || (page.empty() && resume == 0)) return NERR_Success;
  }
}

DWORD shownNumber(DWORD status, DWORD parm) {
  return status == ERROR_INVALID_PARAMETER ? parm : status;
}

}  // namespace

std::string serverTypeText(DWORD type) {
  std::string text;
  if (type & SV_TYPE_SERVER) text = "Server";
  if (type & SV_TYPE_WORKSTATION) text = "Workstation";
  if (type & SV_TYPE_DOMAIN_CTRL) text = "Primary domain controller";
  if (type & SV_TYPE_DOMAIN_BAKCTRL) text = "Backup domain controller";
  if (type & SV_TYPE_AFP) text = "Apple File Protocol";
  if (type & SV_TYPE_NOVELL) text = "Novell service";
  return text;
}

std::string minutesAndSeconds(DWORD seconds) {
  const DWORD s = seconds % 60;
  return std::to_string(seconds / 60) + (s < 10 ? ":0" : ":") + std::to_string(s);
}

std::string permissionText(DWORD permissions) {
  if (permissions == 1) return "Read";
  if (permissions == 2) return "Write";
  return "Create";
}

DWORD readServerFields(const std::string& server, ServerInfoFields* fields) {
  NetBuffer buf;
  const DWORD st = NetServerGetInfo(server, 102, buf);
  if (st != NERR_Success) return st;
  const auto* info = buf.one<SERVER_INFO_102>();
  if (!info) return ERROR_INVALID_LEVEL;
  fields->server = server;
  fields->description = info->sv102_comment;
  fields->type = serverTypeText(info->sv102_type);
  fields->hidden = info->sv102_hidden != 0;
  fields->maxUsers = info->sv102_users;
  fields->autoDisconnect = info->sv102_disc != SV_NODISC;
  fields->disconnectMinutes = fields->autoDisconnect ? static_cast<DWORD>(info->sv102_disc) : 0;
  fields->userPath = info->sv102_userpath;
  fields->announceRate = info->sv102_announce;
  fields->announceDelta = info->sv102_anndelta;
  fields->timeServer = (info->sv102_type & SV_TYPE_TIME_SOURCE) != 0;
  return NERR_Success;
}

DWORD readSessions(const std::string& server, std::vector<SESSION_INFO_2>* sessions) {
  return readToEnd(sessions, [&](NetBuffer& b, DWORD* r, DWORD* t, DWORD* h) {
    return NetSessionEnum(server, {}, {}, 2, b, kPreferredBytes, r, t, h);
  });
}

DWORD readOpenFiles(const std::string& server, std::vector<FILE_INFO_3>* files) {
  return readToEnd(files, [&](NetBuffer& b, DWORD* r, DWORD* t, DWORD* h) {
    return NetFileEnum(server, {}, {}, 3, b, kPreferredBytes, r, t, h);
  });
}

std::vector<SettingFailure> writeServerFields(const ServerInfoFields& f) {
  std::vector<SettingFailure> failures;
  auto set = [&](DWORD level, const NetInfo& info, const char* caption) {
    DWORD parm = 0;
    const DWORD st = NetServerSetInfo(f.server, level, info, &parm);
    if (st != NERR_Success) failures.push_back({caption, shownNumber(st, parm)});
  };
  set(1005, SERVER_INFO_1005{f.description}, "Error updating server COMMENT.");
  set(1016, SERVER_INFO_1016{f.hidden ? 1u : 0u}, "Error updating server HIDDEN attribute.");
  set(1017, SERVER_INFO_1017{f.announceRate}, "Error updating server ANNOUNCE RATE.");
  set(1018, SERVER_INFO_1018{f.announceDelta}, "Error updating server ANNOUNCE DELTA.");
  set(1516, SERVER_INFO_1516{f.timeServer ? 1u : 0u}, "Error updating server TIME SERVER.");
  const LONG disc = f.autoDisconnect ? static_cast<LONG>(f.disconnectMinutes) : SV_NODISC;
  set(1010, SERVER_INFO_1010{disc}, "Error updating server AUTO DISCONNECT.");
  return failures;
}

DWORD disconnectUser(const std::string& server, std::string_view user) {
  return NetSessionDel(server, {}, user);
}

DWORD disconnectAll(const std::string& server, const std::vector<SESSION_INFO_2>& listed) {
  const DWORD all = NetSessionDel(server, {}, {});
  if (all == NERR_Success || all == ERROR_BAD_NETPATH || all == ERROR_ACCESS_DENIED) return all;
  DWORD first = NERR_Success;
  for (const auto& s : listed) {
    const DWORD st = NetSessionDel(server, "\\\\" + s.sesi2_cname, s.sesi2_username);
    const bool gone = st == NERR_ClientNameNotFound || st == NERR_UserNotFound;
    if (st != NERR_Success && !gone && first == NERR_Success) first = st;
  }
  return first;
}

}  // namespace servers
