#include "platform/lab/json_server.h"

#include <set>

#include "platform/lab/json_fields.h"

namespace lab::json {

using namespace platform;

template <class J>
ServerSettings readServerSettings(const J& j, const std::string& where) {
  expectObject(j, where, {"users", "disconnect", "announce", "announceDelta", "userPath"});
  ServerSettings s;
  s.users = number(j, "users", where, s.users);
  const DWORD disc = numberOr(j, "disconnect", where, static_cast<DWORD>(s.disc), "never");
  if (disc != 0xFFFFFFFFu && disc > 65535) fail(at(where, "disconnect"), "minutes from 0 to 65535, or \"never\"");
  s.disc = static_cast<platform::LONG>(disc);
  s.announce = number(j, "announce", where, s.announce);
  s.anndelta = number(j, "announceDelta", where, s.anndelta);
  s.userpath = text(j, "userPath", where, false, s.userpath);
  return s;
}

Json writeServerSettings(const ServerSettings& s) {
  Json j{{"users", s.users}};
  if (s.disc == platform::SV_NODISC) j["disconnect"] = "never";
  else j["disconnect"] = static_cast<DWORD>(s.disc);
  j["announce"] = s.announce;
  j["announceDelta"] = s.anndelta;
  j["userPath"] = s.userpath;
  return j;
}

template <class J>
Session readSession(const J& j, const std::string& where) {
  expectObject(j, where, {"client", "user", "time", "idle", "guest", "clientType", "openFiles"});
  Session s;
  s.client = text(j, "client", where, true);
  if (s.client.empty() || s.client.find('\\') != std::string::npos) {
    fail(at(where, "client"), "a computer name without backslashes");
  }
  s.user = text(j, "user", where, true);
  s.time = number(j, "time", where, 0);
  s.idle = number(j, "idle", where, 0);
  s.guest = boolean(j, "guest", where, false);
  s.clientType = text(j, "clientType", where, false, s.clientType);
  const auto& files = array(j, "openFiles", where);
  for (std::size_t i = 0; i < files.size(); ++i) {
    const auto w = at(at(where, "openFiles"), i);
    expectObject(files[i], w, {"id", "path", "permissions", "locks"});
    OpenFile f;
    f.id = number(files[i], "id", w, 0);
    f.path = text(files[i], "path", w, true);
    f.permissions = number(files[i], "permissions", w, PERM_FILE_READ);
    f.locks = number(files[i], "locks", w, 0);
    s.files.push_back(std::move(f));
  }
  return s;
}

Json writeSession(const Session& s) {
  Json j{{"client", s.client}, {"user", s.user}, {"time", s.time}, {"idle", s.idle}};
  if (s.guest) j["guest"] = true;
  j["clientType"] = s.clientType;
  if (!s.files.empty()) {
    Json files = Json::array();
    for (const auto& f : s.files) {
      files.push_back(Json{{"id", f.id}, {"path", f.path}, {"permissions", f.permissions},
                           {"locks", f.locks}});
    }
    j["openFiles"] = std::move(files);
  }
  return j;
}

void numberOpenFiles(Machine& m, const std::string& path) {
  std::set<DWORD> ids;
  DWORD next = 1;
  for (const auto& s : m.sessions) {
    for (const auto& f : s.files) {
      if (f.id == 0) continue;
      if (!ids.insert(f.id).second) fail(at(path, "sessions"), "open file id " + std::to_string(f.id) + " is used twice");
      next = std::max(next, f.id + 1);
    }
  }
  for (auto& s : m.sessions) {
    for (auto& f : s.files) if (f.id == 0) f.id = next++;
  }
}

template ServerSettings readServerSettings(const Json&, const std::string&);
template ServerSettings readServerSettings(const SimdValue&, const std::string&);
template Session readSession(const Json&, const std::string&);
template Session readSession(const SimdValue&, const std::string&);

}  // namespace lab::json
