#include "platform/lab/json_users.h"

#include <exception>
#include <thread>

#include "platform/lab/json_fields.h"
#include "platform/lab/password_hash.h"

namespace lab::json {
namespace {

using namespace platform;

constexpr NamedBit kUserFlags[] = {
    {"UF_SCRIPT", UF_SCRIPT},
    {"UF_ACCOUNTDISABLE", UF_ACCOUNTDISABLE},
    {"UF_HOMEDIR_REQUIRED", UF_HOMEDIR_REQUIRED},
    {"UF_LOCKOUT", UF_LOCKOUT},
    {"UF_PASSWD_NOTREQD", UF_PASSWD_NOTREQD},
    {"UF_PASSWD_CANT_CHANGE", UF_PASSWD_CANT_CHANGE},
    {"UF_TEMP_DUPLICATE_ACCOUNT", UF_TEMP_DUPLICATE_ACCOUNT},
    {"UF_NORMAL_ACCOUNT", UF_NORMAL_ACCOUNT},
    {"UF_INTERDOMAIN_TRUST_ACCOUNT", UF_INTERDOMAIN_TRUST_ACCOUNT},
    {"UF_WORKSTATION_TRUST_ACCOUNT", UF_WORKSTATION_TRUST_ACCOUNT},
    {"UF_SERVER_TRUST_ACCOUNT", UF_SERVER_TRUST_ACCOUNT},
    {"UF_DONT_EXPIRE_PASSWD", UF_DONT_EXPIRE_PASSWD},
};

template <class J>
std::string passwordHashAt(const J& j, const std::string& path) {
  if (!j.is_string()) fail(path, "expected a password hash");
  auto hash = j.template get<std::string>();
  if (!isPasswordHash(hash)) fail(path, "not a password hash this program can check");
  return hash;
}

// Files written before passwords were hashed hold the password itself: it is
// hashed here, and the account marked so that the file is written again.
template <class J>
void readPassword(const J& j, const std::string& path, User& u) {
  const auto clear = field(j, "password");
  const auto hash = field(j, "passwordHash");
  if (clear && hash) fail(path, "give either \"password\" or \"passwordHash\", not both");
  if (hash) u.passwordHash = passwordHashAt(*hash, at(path, "passwordHash"));
  if (clear) {
    if (!clear->is_string()) fail(at(path, "password"), std::string("expected a string, found ") + typeName(*clear));
    auto hashed = hashPassword(clear->template get<std::string>());
    if (!hashed) fail(at(path, "password"), "no memory to hash the password");
    u.passwordHash = std::move(*hashed);
    u.passwordReadInClear = true;
  }
  const auto& history = array(j, "passwordHistory", path);
  for (std::size_t i = 0; i < history.size(); ++i) {
    u.passwordHistory.push_back(passwordHashAt(history[i], at(at(path, "passwordHistory"), i)));
  }
}

}  // namespace

bool validAccountName(std::string_view name) {
  if (name.empty() || !isWritableText(name) || utf16Length(name) > kMaxGroupNameLength) return false;
  return name.find_first_of("\"/\\[]:;|=,+*?<>") == std::string_view::npos;
}

template <class J>
User readUser(const J& j, const std::string& path) {
  expectObject(j, path,
               {"name", "rid", "fullName", "comment", "usrComment", "flags", "password",
                "passwordHash", "passwordHistory", "passwordLastSet", "passwordExpired", "priv", "homeDir", "homeDirDrive",
                "scriptPath", "profile", "parms", "workstations", "acctExpires", "maxStorage",
                "unitsPerWeek", "logonHours", "countryCode", "codePage", "primaryGroupId",
                "authFlags", "logons", "dialin"});
  User u;
  u.name = text(j, "name", path, true);
  if (!validAccountName(u.name)) fail(at(path, "name"), "invalid account name " + quotedText(u.name));
  u.rid = number(j, "rid", path, 0);
  auto& i = u.info;
  i.usri3_full_name = text(j, "fullName", path);
  i.usri3_comment = text(j, "comment", path);
  i.usri3_usr_comment = text(j, "usrComment", path);
  i.usri3_flags = bits(j, "flags", path, UF_SCRIPT | UF_NORMAL_ACCOUNT, kUserFlags);
  readPassword(j, path, u);
  u.passwordLastSet = time(j, "passwordLastSet", path);
  u.passwordExpired = boolean(j, "passwordExpired", path, false);
  i.usri3_priv = number(j, "priv", path, USER_PRIV_USER);
  if (i.usri3_priv > USER_PRIV_ADMIN) fail(at(path, "priv"), "privilege must be 0, 1 or 2");
  i.usri3_home_dir = text(j, "homeDir", path);
  i.usri3_home_dir_drive = text(j, "homeDirDrive", path);
  i.usri3_script_path = text(j, "scriptPath", path);
  i.usri3_profile = text(j, "profile", path);
  i.usri3_parms = text(j, "parms", path);
  i.usri3_workstations = text(j, "workstations", path);
  i.usri3_acct_expires = numberOr(j, "acctExpires", path, TIMEQ_FOREVER, "never");
  i.usri3_max_storage = numberOr(j, "maxStorage", path, USER_MAXSTORAGE_UNLIMITED, "unlimited");
  i.usri3_units_per_week = number(j, "unitsPerWeek", path, 168);
  if (const auto h = field(j, "logonHours")) {
    if (!h->is_string()) fail(at(path, "logonHours"), "expected 42 hex digits");
    i.usri3_logon_hours = fromHex(h->template get<std::string>(), at(path, "logonHours"));
    if (i.usri3_logon_hours.size() != 21) fail(at(path, "logonHours"), "expected 42 hex digits (21 bytes)");
  }
  i.usri3_country_code = number(j, "countryCode", path, 0);
  i.usri3_code_page = number(j, "codePage", path, 0);
  i.usri3_primary_group_id = number(j, "primaryGroupId", path, 513);
  i.usri3_auth_flags = number(j, "authFlags", path, 0);
  if (const auto l = field(j, "logons")) {
    const auto where = at(path, "logons");
    if (!l->is_object()) fail(where, "expected an object of machine names");
    for (auto it = l->begin(); it != l->end(); ++it) {
      const auto w = at(where, it.key());
      expectObject(*it, w, {"lastLogon", "lastLogoff", "numLogons", "badPwCount"});
      LogonStats s;
      s.lastLogon = number(*it, "lastLogon", w, 0);
      s.lastLogoff = number(*it, "lastLogoff", w, 0);
      s.numLogons = number(*it, "numLogons", w, 0);
      s.badPwCount = number(*it, "badPwCount", w, 0);
      u.logons[upper(it.key())] = s;
    }
  }
  if (const auto d = field(j, "dialin")) {
    const auto where = at(path, "dialin");
    expectObject(*d, where, {"allowed", "callbackType", "callbackNumber"});
    u.dialin.allowed = boolean(*d, "allowed", where, false);
    u.dialin.callbackType = number(*d, "callbackType", where, 0);
    if (u.dialin.callbackType > 2) fail(at(where, "callbackType"), "call-back type must be 0, 1 or 2");
    u.dialin.callbackNumber = text(*d, "callbackNumber", where);
  }
  return u;
}

Json writeUser(const User& u) {
  const auto& i = u.info;
  Json j;
  j["name"] = u.name;
  j["rid"] = u.rid;
  j["fullName"] = i.usri3_full_name;
  j["comment"] = i.usri3_comment;
  if (!i.usri3_usr_comment.empty()) j["usrComment"] = i.usri3_usr_comment;
  j["flags"] = bitNames(i.usri3_flags, kUserFlags);
  if (!u.passwordHash.empty()) j["passwordHash"] = u.passwordHash;
  if (!u.passwordHistory.empty()) j["passwordHistory"] = u.passwordHistory;
  j["passwordLastSet"] = u.passwordLastSet;
  if (u.passwordExpired) j["passwordExpired"] = true;
  if (i.usri3_priv != USER_PRIV_USER) j["priv"] = i.usri3_priv;
  if (!i.usri3_home_dir.empty()) j["homeDir"] = i.usri3_home_dir;
  if (!i.usri3_home_dir_drive.empty()) j["homeDirDrive"] = i.usri3_home_dir_drive;
  if (!i.usri3_script_path.empty()) j["scriptPath"] = i.usri3_script_path;
  if (!i.usri3_profile.empty()) j["profile"] = i.usri3_profile;
  if (!i.usri3_parms.empty()) j["parms"] = i.usri3_parms;
  if (!i.usri3_workstations.empty()) j["workstations"] = i.usri3_workstations;
  if (i.usri3_acct_expires == TIMEQ_FOREVER) j["acctExpires"] = "never";
  else j["acctExpires"] = i.usri3_acct_expires;
  if (i.usri3_max_storage != USER_MAXSTORAGE_UNLIMITED) j["maxStorage"] = i.usri3_max_storage;
  if (i.usri3_units_per_week != 168) j["unitsPerWeek"] = i.usri3_units_per_week;
  if (!i.usri3_logon_hours.empty()) j["logonHours"] = toHex(i.usri3_logon_hours);
  if (i.usri3_country_code) j["countryCode"] = i.usri3_country_code;
  if (i.usri3_code_page) j["codePage"] = i.usri3_code_page;
  if (i.usri3_primary_group_id != 513) j["primaryGroupId"] = i.usri3_primary_group_id;
  if (i.usri3_auth_flags) j["authFlags"] = i.usri3_auth_flags;
  if (!u.logons.empty()) {
    Json l = Json::object();
    for (const auto& [m, s] : u.logons) {
      Json e;
      e["lastLogon"] = s.lastLogon;
      e["lastLogoff"] = s.lastLogoff;
      e["numLogons"] = s.numLogons;
      if (s.badPwCount) e["badPwCount"] = s.badPwCount;
      l[m] = std::move(e);
    }
    j["logons"] = std::move(l);
  }
  if (u.dialin != Dialin{}) {
    j["dialin"] = {{"allowed", u.dialin.allowed},
                   {"callbackType", u.dialin.callbackType},
                   {"callbackNumber", u.dialin.callbackNumber}};
  }
  return j;
}

// The fast reader splits a long list between threads (the document is only
// read); the checked reader, which runs only to name a fault, reads in order.
template <class J>
void readUsers(const J& users, const std::string& path, StableList<User>& out) {
  const std::size_t n = users.size();
  out.resize(n);
  const std::size_t threads = std::min<std::size_t>(std::thread::hardware_concurrency(), 4);
  if constexpr (std::is_same_v<J, SimdValue>) {
    if (threads > 1 && n >= 8192) {
      std::vector<std::exception_ptr> faults(threads);
      {
        std::vector<std::jthread> workers;
        for (std::size_t t = 0; t < threads; ++t) {
          workers.emplace_back([&, t] {
            const J part = users;  // its own place in the array
            try {
              for (std::size_t k = n * t / threads; k < n * (t + 1) / threads; ++k) {
                out[k] = readUser(part[k], at(path, k));
              }
            } catch (...) {
              faults[t] = std::current_exception();
            }
          });
        }
      }
      for (const auto& f : faults) if (f) std::rethrow_exception(f);
      return;
    }
  }
  for (std::size_t k = 0; k < n; ++k) out[k] = readUser(users[k], at(path, k));
}

template <class J>
void checkLogonMachines(const Network& net, const J& sam, const std::string& path) {
  const auto& users = array(sam, "users", path);
  for (std::size_t i = 0; i < users.size(); ++i) {
    const auto logons = field(users[i], "logons");
    if (!logons) continue;
    for (auto it = logons->begin(); it != logons->end(); ++it) {
      if (!net.findMachine(it.key())) {
        fail(at(at(at(at(path, "users"), i), "logons"), it.key()),
             "no machine " + quotedText(it.key()) + " in /machines");
      }
    }
  }
}

template User readUser(const Json&, const std::string&);
template User readUser(const SimdValue&, const std::string&);
template void readUsers(const Json&, const std::string&, StableList<User>&);
template void readUsers(const SimdValue&, const std::string&, StableList<User>&);
template void checkLogonMachines(const Network&, const Json&, const std::string&);
template void checkLogonMachines(const Network&, const SimdValue&, const std::string&);

}  // namespace lab::json
