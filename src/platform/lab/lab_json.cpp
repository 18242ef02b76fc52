#include "platform/lab/lab_json.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstring>
#include <exception>
#include <set>
#include <thread>
#include <unordered_set>

#include "platform/lab/lab_files_json.h"
#include "platform/lab/lab_json_parts.h"
#include "platform/lab/password_hash.h"
#include "platform/lab/text_rules.h"
#include "platform/lab/simd_value.h"
#include "platform/registry.h"
#include "platform/wnet.h"

namespace lab {
namespace {

using json::Json;
using json::Fault;
using namespace platform;

[[noreturn]] void fail(const std::string& where, const std::string& what) {
  throw json::boundedFault(where, what);
}

std::string at(const std::string& path, std::string_view key) {
  return path + "/" + std::string(key);
}
std::string at(const std::string& path, std::size_t index) {
  return path + "/" + std::to_string(index);
}

template <class J>
const char* typeName(const J& j) { return j.type_name(); }

template <class J>
void expectObject(const J& j, const std::string& path,
                  std::initializer_list<std::string_view> allowed) {
  if (!j.is_object()) fail(path, std::string("expected an object, found ") + typeName(j));
  std::uint64_t seen = 0;
  for (auto it = j.begin(); it != j.end(); ++it) {
    const auto key = it.key();
    const auto known = std::find(allowed.begin(), allowed.end(), key);
    if (known == allowed.end()) fail(at(path, key), "unknown field " + quotedText(key));
    if constexpr (std::is_same_v<J, SimdValue>) {
      // The fast reader would take the first of two equal keys where the
      // slow one takes the last: let the slow one decide.
      const std::uint64_t bit = std::uint64_t{1} << (known - allowed.begin());
      if (seen & bit) throw Unsure{};
      seen |= bit;
    }
  }
}

const Json* field(const Json& o, std::string_view key) {
  auto it = o.find(std::string(key));
  return it == o.end() ? nullptr : &*it;
}

std::optional<SimdValue> field(const SimdValue& o, std::string_view key) { return o.find(key); }

template <class J>
std::string text(const J& o, std::string_view key, const std::string& path,
                 bool required = false, std::string fallback = {}) {
  const auto j = field(o, key);
  if (!j) {
    if (required) fail(at(path, key), "required field is missing");
    return fallback;
  }
  if (!j->is_string()) fail(at(path, key), std::string("expected a string, found ") + typeName(*j));
  return j->template get<std::string>();
}

bool knownHive(std::string_view name) {
  return name == "HKEY_LOCAL_MACHINE" || name == "HKEY_USERS" || name == "HKEY_CLASSES_ROOT";
}

// `where` makes the place's path, needed only for a fault: a big lab has
// millions of good numbers.
template <class J, class Where>
DWORD numberAt(const J& j, Where where) {
  if (j.is_number_unsigned()) {
    const auto v = j.template get<std::uint64_t>();
    if (v > 0xFFFFFFFFull) fail(where(), "number out of range (0 to 4294967295)");
    return static_cast<DWORD>(v);
  }
  if (j.is_number_integer()) fail(where(), "number out of range (0 to 4294967295)");
  fail(where(), std::string("expected a whole number, found ") + typeName(j));
}

template <class J>
DWORD number(const J& j, const std::string& path) {
  return numberAt(j, [&] { return path; });
}

template <class J>
DWORD number(const J& o, std::string_view key, const std::string& path, DWORD fallback,
             bool required = false) {
  const auto j = field(o, key);
  if (!j) {
    if (required) fail(at(path, key), "required field is missing");
    return fallback;
  }
  return numberAt(*j, [&] { return at(path, key); });
}

// A number that may also be written as a word standing for all bits set
// ("never", "unlimited").
template <class J>
DWORD numberOr(const J& o, std::string_view key, const std::string& path, DWORD fallback,
               std::string_view word) {
  const auto j = field(o, key);
  if (!j) return fallback;
  if (j->is_string()) {
    if (j->template get<std::string>() == word) return 0xFFFFFFFFu;
    fail(at(path, key), "expected a number or \"" + std::string(word) + "\"");
  }
  return numberAt(*j, [&] { return at(path, key); });
}

template <class J>
bool boolean(const J& o, std::string_view key, const std::string& path, bool fallback) {
  const auto j = field(o, key);
  if (!j) return fallback;
  if (!j->is_boolean()) fail(at(path, key), std::string("expected true or false, found ") + typeName(*j));
  return j->template get<bool>();
}

template <class J>
std::int64_t time(const J& o, std::string_view key, const std::string& path) {
  const auto j = field(o, key);
  if (!j) return 0;
  if (!j->is_number_integer()) fail(at(path, key), "expected seconds since 1970");
  return j->template get<std::int64_t>();
}

const Json& array(const Json& o, std::string_view key, const std::string& path) {
  static const Json kEmpty = Json::array();
  const auto j = field(o, key);
  if (!j) return kEmpty;
  if (!j->is_array()) fail(at(path, key), std::string("expected an array, found ") + typeName(*j));
  return *j;
}

SimdValue array(const SimdValue& o, std::string_view key, const std::string& path) {
  const auto j = field(o, key);
  if (!j) return SimdValue();
  if (!j->is_array()) fail(at(path, key), std::string("expected an array, found ") + typeName(*j));
  return *j;
}

template <class J>
std::vector<std::string> texts(const J& o, std::string_view key, const std::string& path) {
  std::vector<std::string> out;
  const auto& a = array(o, key, path);
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (!a[i].is_string()) fail(at(at(path, key), i), "expected a string");
    out.push_back(a[i].template get<std::string>());
  }
  return out;
}

// ---- named bits ----

struct NamedBit {
  std::string_view name;
  DWORD bit;
};

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

constexpr NamedBit kServerTypes[] = {
    {"SV_TYPE_WORKSTATION", SV_TYPE_WORKSTATION},
    {"SV_TYPE_SERVER", SV_TYPE_SERVER},
    {"SV_TYPE_SQLSERVER", SV_TYPE_SQLSERVER},
    {"SV_TYPE_DOMAIN_CTRL", SV_TYPE_DOMAIN_CTRL},
    {"SV_TYPE_DOMAIN_BAKCTRL", SV_TYPE_DOMAIN_BAKCTRL},
    {"SV_TYPE_TIME_SOURCE", SV_TYPE_TIME_SOURCE},
    {"SV_TYPE_AFP", SV_TYPE_AFP},
    {"SV_TYPE_NOVELL", SV_TYPE_NOVELL},
    {"SV_TYPE_DOMAIN_MEMBER", SV_TYPE_DOMAIN_MEMBER},
    {"SV_TYPE_PRINTQ_SERVER", SV_TYPE_PRINTQ_SERVER},
    {"SV_TYPE_DIALIN_SERVER", SV_TYPE_DIALIN_SERVER},
    {"SV_TYPE_SERVER_UNIX", SV_TYPE_SERVER_UNIX},
    {"SV_TYPE_NT", SV_TYPE_NT},
    {"SV_TYPE_WFW", SV_TYPE_WFW},
    {"SV_TYPE_SERVER_MFPN", SV_TYPE_SERVER_MFPN},
    {"SV_TYPE_SERVER_NT", SV_TYPE_SERVER_NT},
    {"SV_TYPE_POTENTIAL_BROWSER", SV_TYPE_POTENTIAL_BROWSER},
    {"SV_TYPE_BACKUP_BROWSER", SV_TYPE_BACKUP_BROWSER},
    {"SV_TYPE_MASTER_BROWSER", SV_TYPE_MASTER_BROWSER},
    {"SV_TYPE_DOMAIN_MASTER", SV_TYPE_DOMAIN_MASTER},
    {"SV_TYPE_SERVER_OSF", SV_TYPE_SERVER_OSF},
    {"SV_TYPE_SERVER_VMS", SV_TYPE_SERVER_VMS},
    {"SV_TYPE_WINDOWS", SV_TYPE_WINDOWS},
    {"SV_TYPE_DFS", SV_TYPE_DFS},
};

template <class J, std::size_t N>
DWORD bits(const J& o, std::string_view key, const std::string& path, DWORD fallback,
           const NamedBit (&names)[N]) {
  const auto j = field(o, key);
  if (!j) return fallback;
  if (j->is_number()) return numberAt(*j, [&] { return at(path, key); });
  if (!j->is_array()) fail(at(path, key), "expected a number or an array of flag names");
  DWORD value = 0;
  for (std::size_t i = 0; i < j->size(); ++i) {
    const auto e = (*j)[i];
    const auto where = [&] { return at(at(path, key), i); };
    if (!e.is_string()) fail(where(), "expected a flag name");
    const auto name = e.template get<std::string>();
    auto it = std::find_if(std::begin(names), std::end(names),
                           [&](const NamedBit& b) { return b.name == name; });
    if (it == std::end(names)) fail(where(), "unknown flag " + quotedText(name));
    value |= it->bit;
  }
  return value;
}

template <std::size_t N>
Json bitNames(DWORD value, const NamedBit (&names)[N]) {
  Json out = Json::array();
  DWORD left = value;
  for (const auto& b : names) {
    if ((value & b.bit) == b.bit && (left & b.bit)) {
      out.push_back(b.name);
      left &= ~b.bit;
    }
  }
  if (left != 0) return Json(value);  // bits without a name: keep the number
  return out;
}

// ---- hex ----

std::string toHex(const std::vector<std::uint8_t>& bytes) {
  static const char* kDigits = "0123456789abcdef";
  std::string out;
  for (auto b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

std::vector<std::uint8_t> fromHex(const std::string& hex, const std::string& path) {
  if (hex.size() % 2 != 0) fail(path, "hex data must have an even number of digits");
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    unsigned v = 0;
    auto r = std::from_chars(hex.data() + i, hex.data() + i + 2, v, 16);
    if (r.ec != std::errc() || r.ptr != hex.data() + i + 2) fail(path, "invalid hex digit");
    out.push_back(static_cast<std::uint8_t>(v));
  }
  return out;
}

// ---- registry ----

constexpr NamedBit kRegTypes[] = {
    {"REG_NONE", REG_NONE},       {"REG_SZ", REG_SZ},       {"REG_EXPAND_SZ", REG_EXPAND_SZ},
    {"REG_BINARY", REG_BINARY},   {"REG_DWORD", REG_DWORD}, {"REG_MULTI_SZ", REG_MULTI_SZ},
};

template <class J>
DWORD regType(const J& o, const std::string& path) {
  const auto j = field(o, "type");
  if (!j) fail(at(path, "type"), "required field is missing");
  if (j->is_number()) return number(*j, at(path, "type"));
  if (!j->is_string()) fail(at(path, "type"), "expected a value type name");
  const auto name = j->template get<std::string>();
  for (const auto& t : kRegTypes) if (t.name == name) return t.bit;
  fail(at(path, "type"), "unknown value type " + quotedText(name));
}

template <class J>
RegValue readValue(const J& j, const std::string& path) {
  expectObject(j, path, {"name", "type", "data", "hex"});
  RegValue v;
  v.name = text(j, "name", path, true);
  v.type = regType(j, path);
  const auto data = field(j, "data");
  const auto hex = field(j, "hex");
  if (data && hex) fail(path, "give either \"data\" or \"hex\", not both");
  if (hex) {
    if (!hex->is_string()) fail(at(path, "hex"), "expected a string of hex digits");
    v.data = fromHex(hex->template get<std::string>(), at(path, "hex"));
    return v;
  }
  if (!data) fail(at(path, "data"), "required field is missing");
  const auto where = at(path, "data");
  switch (v.type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
      if (!data->is_string()) fail(where, "expected a string");
      v.data = regSzBytes(data->template get<std::string>());
      break;
    case REG_DWORD:
      v.data = regDwordBytes(number(*data, where));
      break;
    case REG_MULTI_SZ:
      if (!data->is_array()) fail(where, "expected an array of strings");
      for (std::size_t i = 0; i < data->size(); ++i) {
        if (!(*data)[i].is_string()) fail(at(where, i), "expected a string");
        const auto s = (*data)[i].template get<std::string>();
        v.data.insert(v.data.end(), s.begin(), s.end());
        v.data.push_back(0);
      }
      v.data.push_back(0);
      break;
    default:
      fail(where, "this value type is given with \"hex\"");
  }
  return v;
}

Json writeValue(const RegValue& v) {
  Json j;
  j["name"] = v.name;
  std::string typeText;
  for (const auto& t : kRegTypes) if (t.bit == v.type) typeText = t.name;
  if (typeText.empty()) j["type"] = v.type; else j["type"] = typeText;
  const auto& d = v.data;
  // Bytes that are not UTF-8 text go out as hex, which keeps them exactly.
  const bool plainText =
      !d.empty() && d.back() == 0 &&
      isWritableText(std::string_view(reinterpret_cast<const char*>(d.data()), d.size() - 1));
  if ((v.type == REG_SZ || v.type == REG_EXPAND_SZ) && plainText) {
    j["data"] = std::string(d.begin(), d.end() - 1);
  } else if (v.type == REG_DWORD && d.size() == 4) {
    j["data"] = static_cast<DWORD>(d[0] | (d[1] << 8) | (d[2] << 16) |
                                   (static_cast<DWORD>(d[3]) << 24));
  } else {
    j["hex"] = toHex(d);
  }
  return j;
}

template <class J>
void readKeys(const J& a, const std::string& path, Hive& hive, bool withHive,
              std::map<std::string, Hive>* hives) {
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto where = at(path, i);
    if (withHive) expectObject(a[i], where, {"hive", "key", "values"});
    else expectObject(a[i], where, {"key", "values"});
    Hive* target = &hive;
    if (withHive) {
      const auto h = text(a[i], "hive", where, false, "HKEY_LOCAL_MACHINE");
      if (!knownHive(h)) {
        fail(at(where, "hive"), "unknown hive " + quotedText(h));
      }
      target = &(*hives)[h];
    }
    auto keyPath = text(a[i], "key", where, true);
    auto& key = (*target)[upper(keyPath)];
    if (key.path.empty()) key.path = keyPath;
    const auto& vals = array(a[i], "values", where);
    for (std::size_t k = 0; k < vals.size(); ++k) {
      auto v = readValue(vals[k], at(at(where, "values"), k));
      auto dup = std::find_if(key.values.begin(), key.values.end(),
                              [&](const RegValue& e) { return upper(e.name) == upper(v.name); });
      if (dup != key.values.end()) {
        fail(at(at(where, "values"), k), "duplicate value name " + quotedText(v.name));
      }
      key.values.push_back(std::move(v));
    }
  }
}

Json writeKeys(const Hive& hive, const char* hiveName) {
  Json a = Json::array();
  for (const auto& [k, key] : hive) {
    Json j;
    if (hiveName) j["hive"] = hiveName;
    j["key"] = key.path;
    Json vals = Json::array();
    for (const auto& v : key.values) vals.push_back(writeValue(v));
    j["values"] = std::move(vals);
    a.push_back(std::move(j));
  }
  return a;
}

// ---- accounts ----

struct PendingMembers {
  Sam* sam;
  std::size_t localGroup;
  std::vector<std::string> members;
  std::string path;
  std::string domainOfMachine;  // the domain a machine's database belongs to, or empty
};

bool validAccountName(std::string_view name) {
  if (name.empty() || !isWritableText(name) || utf16Length(name) > kMaxGroupNameLength) return false;
  return name.find_first_of("\"/\\[]:;|=,+*?<>") == std::string_view::npos;
}

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

template <class J>
void readPolicy(const J& j, const std::string& path, Policy& p) {
  expectObject(j, path,
               {"minPasswordLength", "maxPasswordAge", "minPasswordAge", "forceLogoff",
                "passwordHistoryLength", "lockoutDuration", "lockoutObservationWindow",
                "lockoutThreshold"});
  auto& m0 = p.modals0;
  m0.usrmod0_min_passwd_len = number(j, "minPasswordLength", path, m0.usrmod0_min_passwd_len);
  m0.usrmod0_max_passwd_age = numberOr(j, "maxPasswordAge", path, m0.usrmod0_max_passwd_age, "never");
  m0.usrmod0_min_passwd_age = number(j, "minPasswordAge", path, m0.usrmod0_min_passwd_age);
  m0.usrmod0_force_logoff = numberOr(j, "forceLogoff", path, m0.usrmod0_force_logoff, "never");
  m0.usrmod0_password_hist_len = number(j, "passwordHistoryLength", path, m0.usrmod0_password_hist_len);
  auto& m3 = p.modals3;
  m3.usrmod3_lockout_duration = numberOr(j, "lockoutDuration", path, m3.usrmod3_lockout_duration, "forever");
  m3.usrmod3_lockout_observation_window = number(j, "lockoutObservationWindow", path, m3.usrmod3_lockout_observation_window);
  m3.usrmod3_lockout_threshold = number(j, "lockoutThreshold", path, m3.usrmod3_lockout_threshold);
}

Json writePolicy(const Policy& p) {
  const auto& m0 = p.modals0;
  const auto& m3 = p.modals3;
  auto orWord = [](DWORD v, const char* word) { return v == 0xFFFFFFFFu ? Json(word) : Json(v); };
  return Json{{"minPasswordLength", m0.usrmod0_min_passwd_len},
              {"maxPasswordAge", orWord(m0.usrmod0_max_passwd_age, "never")},
              {"minPasswordAge", m0.usrmod0_min_passwd_age},
              {"forceLogoff", orWord(m0.usrmod0_force_logoff, "never")},
              {"passwordHistoryLength", m0.usrmod0_password_hist_len},
              {"lockoutDuration", orWord(m3.usrmod3_lockout_duration, "forever")},
              {"lockoutObservationWindow", m3.usrmod3_lockout_observation_window},
              {"lockoutThreshold", m3.usrmod3_lockout_threshold}};
}

bool validSid(std::string_view s) {
  if (s.substr(0, 4) != "S-1-") return false;
  for (char c : s.substr(4)) if (!((c >= '0' && c <= '9') || c == '-')) return false;
  return s.back() != '-' && s.find("--") == std::string_view::npos;
}

// Reads a database's user accounts into `out`. The fast reader splits a
// long list between threads (the document is only read); the checked reader,
// which runs only to name a fault, reads in order.
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

// Reads the accounts of one database (fields shared by domains and machines).
template <class J>
void readSam(const J& j, const std::string& path, Sam& sam,
             std::vector<PendingMembers>& pending, const std::string& domainOfMachine) {
  if (const auto s = field(j, "sid")) {
    if (!s->is_string() || !validSid(s->template get<std::string>())) {
      fail(at(path, "sid"), "expected a SID such as \"S-1-5-21-1-2-3\"");
    }
    sam.sid.value = s->template get<std::string>();
  }
  sam.nextRid = number(j, "nextRid", path, 1000);
  if (const auto p = field(j, "policy")) readPolicy(*p, at(path, "policy"), sam.policy);

  std::unordered_set<DWORD> rids;
  // Names go straight into the database's name indexes, which the member
  // look-ups below need anyway.
  auto claim = [&](auto& byName, std::size_t index, const std::string& name, DWORD rid,
                   const std::string& where) {
    // Users come first: their names need checking only among themselves.
    const bool user = &byName == &sam.userByName;
    if ((!user && sam.nameTaken(name)) || !byName.emplace(upper(name), index).second) {
      fail(at(where, "name"), "duplicate account name " + quotedText(name));
    }
    if (rid != 0 && !rids.insert(rid).second) {
      fail(at(where, "rid"), "duplicate RID " + std::to_string(rid));
    }
  };
  // RIDs given in the file first, so that the ones handed out skip them.
  const auto& users = array(j, "users", path);
  const auto& groups = array(j, "groups", path);
  const auto& locals = array(j, "localGroups", path);
  const auto& deleted = array(j, "deletedAccounts", path);

  sam.userByName.reserve(users.size());
  rids.reserve(users.size() + groups.size() + locals.size() + deleted.size());
  readUsers(users, at(path, "users"), sam.users);
  for (std::size_t k = 0; k < users.size(); ++k) {
    claim(sam.userByName, k, sam.users[k].name, sam.users[k].rid, at(at(path, "users"), k));
  }
  std::vector<std::vector<std::string>> groupMembers;
  for (std::size_t k = 0; k < groups.size(); ++k) {
    const auto where = at(at(path, "groups"), k);
    expectObject(groups[k], where, {"name", "rid", "comment", "attributes", "members"});
    Group g;
    g.name = text(groups[k], "name", where, true);
    if (!validAccountName(g.name)) fail(at(where, "name"), "invalid group name " + quotedText(g.name));
    g.rid = number(groups[k], "rid", where, 0);
    g.comment = text(groups[k], "comment", where);
    g.attributes = number(groups[k], "attributes", where, g.attributes);
    groupMembers.push_back(texts(groups[k], "members", where));
    claim(sam.groupByName, sam.groups.size(), g.name, g.rid, where);
    sam.groups.push_back(std::move(g));
  }
  for (std::size_t k = 0; k < locals.size(); ++k) {
    const auto where = at(at(path, "localGroups"), k);
    expectObject(locals[k], where, {"name", "rid", "comment", "members"});
    LocalGroup g;
    g.name = text(locals[k], "name", where, true);
    if (!validAccountName(g.name)) fail(at(where, "name"), "invalid group name " + quotedText(g.name));
    g.rid = number(locals[k], "rid", where, 0);
    g.comment = text(locals[k], "comment", where);
    claim(sam.localGroupByName, sam.localGroups.size(), g.name, g.rid, where);
    pending.push_back({&sam, sam.localGroups.size(), texts(locals[k], "members", where),
                       at(where, "members"), domainOfMachine});
    sam.localGroups.push_back(std::move(g));
  }
  for (std::size_t k = 0; k < deleted.size(); ++k) {
    const auto where = at(at(path, "deletedAccounts"), k);
    expectObject(deleted[k], where, {"name", "rid", "kind"});
    DeletedAccount d;
    d.name = text(deleted[k], "name", where, true);
    d.rid = number(deleted[k], "rid", where, 0, true);
    const auto kind = text(deleted[k], "kind", where, false, "user");
    if (kind == "user") d.kind = AccountKind::User;
    else if (kind == "group") d.kind = AccountKind::Group;
    else if (kind == "localGroup") d.kind = AccountKind::LocalGroup;
    else fail(at(where, "kind"), "expected \"user\", \"group\" or \"localGroup\"");
    if (!rids.insert(d.rid).second) fail(at(where, "rid"), "duplicate RID " + std::to_string(d.rid));
    sam.deleted.push_back(std::move(d));
  }
  // Hand out RIDs in creation order to accounts written without one.
  auto next = [&]() {
    while (rids.count(sam.nextRid)) ++sam.nextRid;
    rids.insert(sam.nextRid);
    return sam.nextRid++;
  };
  for (auto& u : sam.users) if (u.rid == 0) u.rid = next();
  for (auto& g : sam.groups) if (g.rid == 0) g.rid = next();
  for (auto& g : sam.localGroups) if (g.rid == 0) g.rid = next();
  sam.indexRidsAndViews();

  for (std::size_t k = 0; k < sam.groups.size(); ++k) {
    const auto where = at(at(at(path, "groups"), k), "members");
    std::unordered_set<DWORD> seen;
    seen.reserve(groupMembers[k].size());
    sam.groups[k].members.reserve(groupMembers[k].size());
    for (std::size_t m = 0; m < groupMembers[k].size(); ++m) {
      const auto& name = groupMembers[k][m];
      const User* u = sam.findUser(name);
      if (!u) fail(at(where, m), "no user " + quotedText(name) + " in " + sam.name);
      if (!seen.insert(u->rid).second) fail(at(where, m), quotedText(name) + " is listed twice");
      sam.groups[k].members.push_back(u->rid);
    }
  }
}

Json writeSamFields(const Sam& sam, Json j) {
  j["sid"] = sam.sid.value;
  j["nextRid"] = sam.nextRid;
  j["policy"] = writePolicy(sam.policy);
  Json users = Json::array();
  for (const auto& u : sam.users) users.push_back(writeUser(u));
  j["users"] = std::move(users);
  Json groups = Json::array();
  for (const auto& g : sam.groups) {
    Json e;
    e["name"] = g.name;
    e["rid"] = g.rid;
    e["comment"] = g.comment;
    if (g.attributes != (SE_GROUP_MANDATORY | SE_GROUP_ENABLED_BY_DEFAULT | SE_GROUP_ENABLED)) {
      e["attributes"] = g.attributes;
    }
    Json members = Json::array();
    for (auto rid : g.members) {
      if (const User* u = sam.userByRidOrNull(rid)) members.push_back(u->name);
    }
    e["members"] = std::move(members);
    groups.push_back(std::move(e));
  }
  j["groups"] = std::move(groups);
  return j;
}

// Turns a member written as "DOMAIN\name", "name" or a SID into its SID.
SID resolveMember(Network& net, const PendingMembers& p, const std::string& text,
                  const std::string& where) {
  if (text.rfind("S-1-", 0) == 0) {
    if (!validSid(text)) fail(where, "malformed SID " + quotedText(text));
    return {text};
  }
  const Sam* sam = p.sam;
  std::string name = text;
  if (auto slash = text.find('\\'); slash != std::string::npos) {
    const auto dom = text.substr(0, slash);
    name = text.substr(slash + 1);
    sam = nullptr;
    if (const Domain* d = net.findDomain(dom)) sam = &d->sam;
    else if (const Machine* m = net.findMachine(dom); m && m->sam) sam = &*m->sam;
    if (!sam) fail(where, "no domain or machine " + quotedText(dom) + " for member " + quotedText(text));
  }
  if (const User* u = sam->findUser(name)) return accountSid(*sam, u->rid, AccountKind::User);
  if (const Group* g = sam->findGroup(name)) return accountSid(*sam, g->rid, AccountKind::Group);
  if (sam->findLocalGroup(name)) fail(where, "a local group cannot be a member of a local group (" + quotedText(text) + ")");
  fail(where, "member " + quotedText(text) + " does not exist");
}

std::string memberText(const Network& net, const Sam& owner, const SID& sid) {
  auto lastDash = sid.value.rfind('-');
  if (lastDash == std::string::npos) return sid.value;
  const std::string prefix = sid.value.substr(0, lastDash);
  DWORD rid = 0;
  std::from_chars(sid.value.data() + lastDash + 1, sid.value.data() + sid.value.size(), rid);
  auto nameIn = [&](const Sam& s) -> std::string {
    if (const User* u = s.userByRidOrNull(rid)) return u->name;
    if (const Group* g = s.groupByRidOrNull(rid)) return g->name;
    return {};
  };
  auto qualify = [&](const Sam& s, const std::string& n) {
    return &s == &owner ? n : s.name + "\\" + n;
  };
  for (const auto& d : net.domains) {
    if (d.sam.sid.value == prefix) {
      if (auto n = nameIn(d.sam); !n.empty()) return qualify(d.sam, n);
    }
  }
  for (const auto& m : net.machines) {
    if (m.sam && m.sam->sid.value == prefix) {
      if (auto n = nameIn(*m.sam); !n.empty()) return qualify(*m.sam, n);
    }
  }
  return sid.value;  // deleted or foreign: kept by SID
}

Json writeLocalGroups(const Network& net, const Sam& sam) {
  Json a = Json::array();
  for (const auto& g : sam.localGroups) {
    Json e;
    e["name"] = g.name;
    e["rid"] = g.rid;
    e["comment"] = g.comment;
    Json members = Json::array();
    for (const auto& m : g.members) members.push_back(memberText(net, sam, m));
    e["members"] = std::move(members);
    a.push_back(std::move(e));
  }
  return a;
}

Json writeDeleted(const Sam& sam) {
  Json a = Json::array();
  for (const auto& d : sam.deleted) {
    const char* kind = d.kind == AccountKind::User ? "user"
                       : d.kind == AccountKind::Group ? "group" : "localGroup";
    a.push_back(Json{{"name", d.name}, {"rid", d.rid}, {"kind", kind}});
  }
  return a;
}

// ---- machines ----

bool validComputerName(std::string_view name) {
  return !name.empty() && name.size() <= 15 &&
         name.find_first_of("\\/ .*?\"<>|:;,+=[]") == std::string_view::npos;
}

// A browse list: machine names (their own figures) or whole entries.
template <class J>
std::vector<BrowseEntry> readBrowses(const J& a, const std::string& path) {
  std::vector<BrowseEntry> out;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto where = at(path, i);
    BrowseEntry e;
    if (a[i].is_string()) {
      e.name = a[i].template get<std::string>();
      e.byName = true;
    } else {
      expectObject(a[i], where,
                   {"name", "comment", "type", "platformId", "versionMajor", "versionMinor"});
      e.name = text(a[i], "name", where, true);
      e.comment = text(a[i], "comment", where);
      e.type = bits(a[i], "type", where, SV_TYPE_WORKSTATION | SV_TYPE_NT, kServerTypes);
      e.platformId = number(a[i], "platformId", where, PLATFORM_ID_NT);
      e.versionMajor = number(a[i], "versionMajor", where, 4);
      e.versionMinor = number(a[i], "versionMinor", where, 0);
    }
    if (!validComputerName(e.name)) fail(where, "invalid computer name " + quotedText(e.name));
    if (!seen.insert(upper(e.name)).second) fail(where, quotedText(e.name) + " is listed twice");
    out.push_back(std::move(e));
  }
  return out;
}

Json writeBrowses(const std::vector<BrowseEntry>& entries) {
  Json a = Json::array();
  for (const auto& e : entries) {
    if (e.byName) {
      a.push_back(e.name);
      continue;
    }
    a.push_back(Json{{"name", e.name}, {"comment", e.comment},
                     {"type", bitNames(e.type, kServerTypes)}, {"platformId", e.platformId},
                     {"versionMajor", e.versionMajor}, {"versionMinor", e.versionMinor}});
  }
  return a;
}

// ---- shares ----

bool validShareName(std::string_view name) {
  if (name.empty() || name.size() > 80) return false;
  for (char c : name) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
  }
  return name.find_first_of("\\/:*?\"<>|") == std::string_view::npos;
}

// "C:\\" and below: a drive letter, a colon and a backslash.
bool validDiskPath(std::string_view path) {
  return path.size() >= 3 && ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z')) &&
         path[1] == ':' && path[2] == '\\';
}

constexpr std::pair<std::string_view, ShareType> kShareTypes[] = {
    {"disk", ShareType::Disk}, {"print", ShareType::Print}, {"ipc", ShareType::Ipc}};

template <class J>
Share readShare(const J& j, const std::string& where) {
  expectObject(j, where, {"name", "type", "path", "remark", "maxUses"});
  Share s;
  s.name = text(j, "name", where, true);
  if (!validShareName(s.name)) fail(at(where, "name"), "invalid share name " + quotedText(s.name));
  const std::string type = text(j, "type", where, false, "disk");
  const auto* known = std::find_if(std::begin(kShareTypes), std::end(kShareTypes),
                                   [&](const auto& t) { return t.first == type; });
  if (known == std::end(kShareTypes)) {
    fail(at(where, "type"), "unknown share type " + quotedText(type) + " (disk, print or ipc)");
  }
  s.type = known->second;
  s.path = text(j, "path", where);
  if (s.type == ShareType::Disk && !validDiskPath(s.path)) {
    fail(at(where, "path"), "a disk share needs a path such as \"C:\\\\DATA\"");
  }
  if (s.type == ShareType::Ipc && !s.path.empty()) fail(at(where, "path"), "an IPC share has no path");
  s.remark = text(j, "remark", where);
  s.maxUses = number(j, "maxUses", where, Share::kUnlimitedUses);
  return s;
}

Json writeShare(const Share& s) {
  Json j{{"name", s.name}};
  for (const auto& [name, type] : kShareTypes) {
    if (type == s.type) j["type"] = std::string(name);
  }
  if (!s.path.empty()) j["path"] = s.path;
  j["remark"] = s.remark;
  if (s.maxUses != Share::kUnlimitedUses) j["maxUses"] = s.maxUses;
  return j;
}

template <class J>
std::vector<Share> readShares(const J& a, const std::string& path) {
  std::vector<Share> out;
  std::set<std::string> seen;
  for (std::size_t i = 0; i < a.size(); ++i) {
    const auto where = at(path, i);
    Share s = readShare(a[i], where);
    if (!seen.insert(upper(s.name)).second) fail(at(where, "name"), "share " + quotedText(s.name) + " is listed twice");
    out.push_back(std::move(s));
  }
  return out;
}

// ---- server settings, sessions and open files ----

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

// Files without an id get the next free one; ids are unique per machine.
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

template <class J>
EventRecord readEvent(const J& j, const std::string& where) {
  expectObject(j, where, {"time", "source", "type", "category", "id", "strings"});
  EventRecord e;
  e.timeWritten = time(j, "time", where);
  e.source = text(j, "source", where, true);
  e.type = static_cast<WORD>(number(j, "type", where, EVENTLOG_INFORMATION_TYPE));
  e.category = static_cast<WORD>(number(j, "category", where, 0));
  e.eventId = number(j, "id", where, 0, true);
  e.strings = texts(j, "strings", where);
  return e;
}

Json writeEvent(const EventRecord& e) {
  return Json{{"time", e.timeWritten}, {"source", e.source}, {"type", e.type},
              {"category", e.category}, {"id", e.eventId}, {"strings", e.strings}};
}

template <class J>
Machine readMachine(const J& j, const std::string& path, std::vector<PendingMembers>& pending,
                    std::vector<std::pair<std::string, J>>& samsToRead) {
  expectObject(j, path,
               {"name", "domain", "comment", "type", "platformId", "versionMajor", "versionMinor",
                "reachable", "remoteRegistry", "browseList", "browses", "serverEnumLimit",
                "refuse", "userOrder", "accounts", "shares", "server", "sessions", "link", "registry",
                "eventLog", "volumes"});
  (void)pending;
  Machine m;
  m.name = text(j, "name", path, true);
  if (m.name.empty() || m.name.size() > 15 || m.name.find_first_of("\\/ .*?\"<>|:;,+=[]") != std::string::npos) {
    fail(at(path, "name"), "invalid computer name " + quotedText(m.name));
  }
  m.domain = text(j, "domain", path, true);
  m.comment = text(j, "comment", path);
  m.type = bits(j, "type", path, SV_TYPE_WORKSTATION | SV_TYPE_NT, kServerTypes);
  m.platformId = number(j, "platformId", path, PLATFORM_ID_NT);
  m.versionMajor = number(j, "versionMajor", path, 4);
  m.versionMinor = number(j, "versionMinor", path, 0);
  m.reachable = boolean(j, "reachable", path, true);
  m.remoteRegistry = boolean(j, "remoteRegistry", path, true);
  m.inBrowseList = boolean(j, "browseList", path, true);
  if (const auto r = field(j, "refuse")) {
    const auto where = at(path, "refuse");
    if (!r->is_object()) fail(where, "expected an object of operation names and status codes");
    for (auto it = r->begin(); it != r->end(); ++it) {
      m.refusals[it.key()] = number(*it, at(where, it.key()));
    }
  }
  if (field(j, "userOrder")) m.userOrder = texts(j, "userOrder", path);
  if (field(j, "browses")) m.browses = readBrowses(array(j, "browses", path), at(path, "browses"));
  m.serverEnumLimit = number(j, "serverEnumLimit", path, 0);
  if (const auto a = field(j, "accounts")) samsToRead.emplace_back(at(path, "accounts"), *a);
  m.shares = readShares(array(j, "shares", path), at(path, "shares"));
  if (const auto sv = field(j, "server")) m.server = readServerSettings(*sv, at(path, "server"));
  const auto& sessions = array(j, "sessions", path);
  for (std::size_t k = 0; k < sessions.size(); ++k) {
    m.sessions.push_back(readSession(sessions[k], at(at(path, "sessions"), k)));
  }
  numberOpenFiles(m, path);
  if (const auto l = field(j, "link")) {
    const auto where = at(path, "link");
    expectObject(*l, where, {"speed", "delay", "optDataSize", "flags"});
    m.link.speed = number(*l, "speed", where, m.link.speed);
    m.link.delay = number(*l, "delay", where, m.link.delay);
    m.link.optDataSize = number(*l, "optDataSize", where, m.link.optDataSize);
    m.link.flags = number(*l, "flags", where, m.link.flags);
  }
  readKeys(array(j, "registry", path), at(path, "registry"), m.hives["HKEY_LOCAL_MACHINE"], true,
           &m.hives);
  const auto& log = array(j, "eventLog", path);
  for (std::size_t k = 0; k < log.size(); ++k) {
    const auto where = at(at(path, "eventLog"), k);
    m.eventLog.push_back(readEvent(log[k], where));
  }
  // File trees are read by one reader, whichever read the rest.
  if (const auto v = field(j, "volumes")) {
    if constexpr (std::is_same_v<J, Json>) m.volumes = json::readVolumes(*v, at(path, "volumes"));
    else m.volumes = json::readVolumes(Json::parse(v->minified()), at(path, "volumes"));
  }
  return m;
}

Json writeMachine(const Network& net, const Machine& m) {
  Json j;
  j["name"] = m.name;
  j["domain"] = m.domain;
  j["comment"] = m.comment;
  j["type"] = bitNames(m.type, kServerTypes);
  j["platformId"] = m.platformId;
  j["versionMajor"] = m.versionMajor;
  j["versionMinor"] = m.versionMinor;
  if (!m.reachable) j["reachable"] = false;
  if (!m.remoteRegistry) j["remoteRegistry"] = false;
  if (!m.inBrowseList) j["browseList"] = false;
  if (!m.refusals.empty()) {
    Json r = Json::object();
    for (const auto& [op, st] : m.refusals) r[op] = st;
    j["refuse"] = std::move(r);
  }
  if (m.userOrder) j["userOrder"] = *m.userOrder;
  if (m.browses) j["browses"] = writeBrowses(*m.browses);
  if (m.serverEnumLimit != 0) j["serverEnumLimit"] = m.serverEnumLimit;
  if (m.sam) {
    Json a = writeSamFields(*m.sam, Json::object());
    a["localGroups"] = writeLocalGroups(net, *m.sam);
    a["deletedAccounts"] = writeDeleted(*m.sam);
    j["accounts"] = std::move(a);
  }
  if (!m.shares.empty()) {
    Json shares = Json::array();
    for (const auto& s : m.shares) shares.push_back(writeShare(s));
    j["shares"] = std::move(shares);
  }
  if (m.server != ServerSettings{}) j["server"] = writeServerSettings(m.server);
  if (m.link != LinkFigures{}) {
    j["link"] = Json{{"speed", m.link.speed}, {"delay", m.link.delay},
                     {"optDataSize", m.link.optDataSize}, {"flags", m.link.flags}};
  }
  if (!m.sessions.empty()) {
    Json sessions = Json::array();
    for (const auto& x : m.sessions) sessions.push_back(writeSession(x));
    j["sessions"] = std::move(sessions);
  }
  Json reg = Json::array();
  for (const auto& [hiveName, hive] : m.hives) {
    for (auto& k : writeKeys(hive, hiveName.c_str())) reg.push_back(k);
  }
  j["registry"] = std::move(reg);
  Json log = Json::array();
  for (const auto& e : m.eventLog) log.push_back(writeEvent(e));
  j["eventLog"] = std::move(log);
  if (!m.volumes.empty()) j["volumes"] = json::writeVolumes(m.volumes);
  return j;
}

std::string lineAndColumn(std::string_view text, std::size_t byte) {
  std::size_t line = 1, column = 1;
  for (std::size_t i = 0; i < byte && i < text.size(); ++i) {
    if (text[i] == '\n') { ++line; column = 1; } else { ++column; }
  }
  return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

bool isDomainController(const Network& net, const Machine& m) {
  const Domain* d = net.findDomain(m.domain);
  if (!d) return false;
  if (upper(d->pdc) == upper(m.name)) return true;
  for (const auto& b : d->bdcs) if (upper(b) == upper(m.name)) return true;
  return false;
}

// The machine the program runs on and the account it runs as exist.
void checkSession(const Network& net) {
  if (!net.findMachine(net.localMachine)) {
    fail("/localMachine", "no machine " + quotedText(net.localMachine) + " in /machines");
  }
  const auto slash = net.loggedOn.find('\\');
  if (slash == std::string::npos) fail("/loggedOn", "expected \"DOMAIN\\\\name\"");
  const auto dom = net.loggedOn.substr(0, slash);
  const Sam* sam = nullptr;
  if (const Domain* d = net.findDomain(dom)) sam = &d->sam;
  else if (const Machine* m = net.findMachine(dom); m && m->sam) sam = &*m->sam;
  if (!sam || !sam->findUser(net.loggedOn.substr(slash + 1))) {
    fail("/loggedOn", "no user account " + quotedText(net.loggedOn));
  }
}

template <class J>
void parseNetwork(const J& root, Network& net) {
  expectObject(root, "", {"format", "localMachine", "loggedOn", "system", "networkProviders",
                          "domains", "machines", "userRegistries"});
  const DWORD format = number(root, "format", "", 1, true);
  if (format != 1) fail("/format", "unsupported format " + std::to_string(format) + " (this program reads format 1)");
  net.localMachine = text(root, "localMachine", "", true);
  net.loggedOn = text(root, "loggedOn", "", true);
  if (const auto s = field(root, "system")) {
    expectObject(*s, "/system", {"platformId", "major", "minor", "build", "csdVersion"});
    auto& v = net.system.version;
    v.dwPlatformId = number(*s, "platformId", "/system", v.dwPlatformId);
    v.dwMajorVersion = number(*s, "major", "/system", v.dwMajorVersion);
    v.dwMinorVersion = number(*s, "minor", "/system", v.dwMinorVersion);
    v.dwBuildNumber = number(*s, "build", "/system", v.dwBuildNumber);
    v.szCSDVersion = text(*s, "csdVersion", "/system", false, v.szCSDVersion);
  }

  net.networkProviders = texts(root, "networkProviders", "");
  {
    std::set<std::string> seen{upper(kWindowsNetworkProvider)};
    for (std::size_t i = 0; i < net.networkProviders.size(); ++i) {
      const auto& name = net.networkProviders[i];
      if (name.empty()) fail(at("/networkProviders", i), "a provider needs a name");
      if (!seen.insert(upper(name)).second) {
        fail(at("/networkProviders", i), "provider " + quotedText(name) + " is listed twice");
      }
    }
  }

  std::vector<PendingMembers> pending;
  const auto& domains = array(root, "domains", "");
  net.domains.reserve(domains.size());
  for (std::size_t k = 0; k < domains.size(); ++k) {
    const auto where = at("/domains", k);
    expectObject(domains[k], where, {"name", "sid", "pdc", "bdcs", "trusts", "nextRid", "policy",
                                     "users", "groups", "localGroups", "deletedAccounts"});
    Domain d;
    d.name = text(domains[k], "name", where, true);
    if (net.findDomain(d.name)) fail(at(where, "name"), "duplicate domain name " + quotedText(d.name));
    d.pdc = text(domains[k], "pdc", where);
    d.bdcs = texts(domains[k], "bdcs", where);
    d.trusts = texts(domains[k], "trusts", where);
    d.sam.name = d.name;
    if (!field(domains[k], "sid")) fail(at(where, "sid"), "required field is missing");
    net.domains.push_back(std::move(d));
  }
  // Accounts after all domains exist (pointers into net.domains stay valid now).
  for (std::size_t k = 0; k < domains.size(); ++k) {
    readSam(domains[k], at("/domains", k), net.domains[k].sam, pending, {});
  }

  const auto& machines = array(root, "machines", "");
  std::vector<std::vector<std::pair<std::string, J>>> machineSams(machines.size());
  net.machines.reserve(machines.size());
  for (std::size_t k = 0; k < machines.size(); ++k) {
    const auto where = at("/machines", k);
    auto m = readMachine(machines[k], where, pending, machineSams[k]);
    if (net.findMachine(m.name)) fail(at(where, "name"), "duplicate machine name " + quotedText(m.name));
    if (!net.findDomain(m.domain)) fail(at(where, "domain"), "no domain " + quotedText(m.domain) + " in /domains");
    net.machines.push_back(std::move(m));
  }
  for (std::size_t k = 0; k < machines.size(); ++k) {
    auto& m = net.machines[k];
    for (const auto& [where, j] : machineSams[k]) {
      if (isDomainController(net, m)) fail(where, "a domain controller uses its domain's accounts");
      if (!(m.type & SV_TYPE_NT)) fail(where, "only a Windows NT machine keeps its own accounts");
      expectObject(j, where, {"sid", "nextRid", "policy", "users", "groups", "localGroups",
                              "deletedAccounts"});
      m.sam.emplace();
      m.sam->name = m.name;
      m.sam->sid = machineSid(m.name);
      readSam(j, where, *m.sam, pending, m.domain);
    }
  }

  for (std::size_t k = 0; k < domains.size(); ++k) {
    const auto where = at("/domains", k);
    const Domain& d = net.domains[k];
    auto checkDc = [&](const std::string& name, const std::string& w) {
      const Machine* m = net.findMachine(name);
      if (!m) fail(w, "no machine " + quotedText(name) + " in /machines");
      if (upper(m->domain) != upper(d.name)) fail(w, "machine " + quotedText(name) + " is not in domain " + d.name);
    };
    if (!d.pdc.empty()) checkDc(d.pdc, at(where, "pdc"));
    for (std::size_t b = 0; b < d.bdcs.size(); ++b) checkDc(d.bdcs[b], at(at(where, "bdcs"), b));
    for (std::size_t t = 0; t < d.trusts.size(); ++t) {
      if (!net.findDomain(d.trusts[t])) {
        fail(at(at(where, "trusts"), t), "no domain " + quotedText(d.trusts[t]) + " in /domains");
      }
    }
  }
  // Logon statistics belong to a machine that keeps them: a misspelt name
  // would otherwise hide them from every controller without a word.
  auto checkLogons = [&](const auto& sam, const std::string& path) {
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
  };
  for (std::size_t k = 0; k < domains.size(); ++k) checkLogons(domains[k], at("/domains", k));
  for (std::size_t k = 0; k < machines.size(); ++k) {
    for (const auto& [where, j] : machineSams[k]) checkLogons(j, where);
  }
  for (std::size_t k = 0; k < net.machines.size(); ++k) {
    const auto& m = net.machines[k];
    if (!m.browses) continue;
    for (std::size_t i = 0; i < m.browses->size(); ++i) {
      const auto& e = (*m.browses)[i];
      if (e.byName && !net.findMachine(e.name)) {
        fail(at(at(at("/machines", k), "browses"), i), "no machine " + quotedText(e.name) + " in /machines");
      }
    }
  }
  for (std::size_t k = 0; k < net.machines.size(); ++k) {
    const auto& m = net.machines[k];
    if (!m.userOrder) continue;
    const auto where = at(at("/machines", k), "userOrder");
    if (!isDomainController(net, m)) fail(where, "only a domain controller has its own user order");
    const Sam& sam = net.findDomain(m.domain)->sam;
    std::set<std::string> seen;
    for (std::size_t i = 0; i < m.userOrder->size(); ++i) {
      const auto& n = (*m.userOrder)[i];
      if (!sam.findUser(n)) fail(at(where, i), "no user " + quotedText(n) + " in " + sam.name);
      if (!seen.insert(upper(n)).second) fail(at(where, i), quotedText(n) + " is listed twice");
    }
  }

  for (const auto& p : pending) {
    auto& group = p.sam->localGroups[p.localGroup];
    for (std::size_t i = 0; i < p.members.size(); ++i) {
      const auto where = at(p.path, i);
      SID sid = resolveMember(net, p, p.members[i], where);
      if (std::find(group.members.begin(), group.members.end(), sid) != group.members.end()) {
        fail(where, quotedText(p.members[i]) + " is listed twice");
      }
      group.members.push_back(std::move(sid));
    }
  }

  if (const auto r = field(root, "userRegistries")) {
    if (!r->is_object()) fail("/userRegistries", "expected an object of account names");
    for (auto it = r->begin(); it != r->end(); ++it) {
      const auto where = at("/userRegistries", it.key());
      if (!it->is_array()) fail(where, "expected an array of keys");
      const auto key = upper(it.key());
      net.userHiveNames[key] = it.key();
      readKeys(*it, where, net.userHives[key], false, nullptr);
    }
  }

  checkSession(net);
  for (std::size_t k = 0; k < net.machines.size(); ++k)
    json::resolveVolumeAccounts(net, net.machines[k], at(at("/machines", k), "volumes"));
}

}  // namespace

namespace json {
Json writeUser(const User& u) { return lab::writeUser(u); }
User readUser(const Json& j, const std::string& path) { return lab::readUser(j, path); }
Json writePolicy(const Policy& p) { return lab::writePolicy(p); }
void readPolicy(const Json& j, const std::string& path, Policy& p) { lab::readPolicy(j, path, p); }
Json writeValue(const RegValue& v) { return lab::writeValue(v); }
RegValue readValue(const Json& j, const std::string& path) { return lab::readValue(j, path); }
Json writeEvent(const EventRecord& e) { return lab::writeEvent(e); }
EventRecord readEvent(const Json& j, const std::string& path) { return lab::readEvent(j, path); }
bool validAccountName(std::string_view name) { return lab::validAccountName(name); }
bool validSid(std::string_view text) { return lab::validSid(text); }
bool knownHive(std::string_view name) { return lab::knownHive(name); }
void checkSession(const Network& net) { lab::checkSession(net); }
Json writeShare(const Share& s) { return lab::writeShare(s); }
Share readShare(const Json& j, const std::string& path) { return lab::readShare(j, path); }
Json writeServerSettings(const ServerSettings& s) { return lab::writeServerSettings(s); }
ServerSettings readServerSettings(const Json& j, const std::string& path) {
  return lab::readServerSettings(j, path);
}
}  // namespace json

SID machineSid(std::string_view machineName) {
  // FNV-1a over the upper-case name, spread over three sub-authorities.
  std::uint64_t h = 1469598103934665603ull;
  for (char c : upper(machineName)) {
    h ^= static_cast<unsigned char>(c);
    h *= 1099511628211ull;
  }
  const auto a = static_cast<DWORD>(h % 900000000 + 100000000);
  const auto b = static_cast<DWORD>((h >> 21) % 900000000 + 100000000);
  const auto c = static_cast<DWORD>((h >> 42) % 900000000 + 100000000);
  return {"S-1-5-21-" + std::to_string(a) + "-" + std::to_string(b) + "-" + std::to_string(c)};
}

void completeNetwork(Network& net) {
  // NT makes its administrative shares at every start, so a lab never lacks them.
  for (auto& m : net.machines) {
    if (!(m.type & SV_TYPE_NT)) continue;
    std::vector<Share> missing;
    for (auto& s : standardShares()) {
      if (!m.findShare(s.name)) missing.push_back(std::move(s));
    }
    // ... and one for every drive.
    for (const auto& v : m.volumes) {
      const std::string name = v.drive + "$";
      if (m.findShare(name) || std::ranges::any_of(missing, [&](const Share& s) {
            return s.name == name;
          }))
        continue;
      missing.push_back(Share{name, ShareType::Disk, v.drive + ":\\", "Default share"});
    }
    m.shares.insert(m.shares.begin(), std::make_move_iterator(missing.begin()),
                    std::make_move_iterator(missing.end()));
  }
  // A new machine database names its domain's groups, found through the
  // domain's indexes: a generated domain has none yet.
  for (auto& d : net.domains) if (!d.sam.indexed()) d.sam.reindex();
  for (auto& m : net.machines) {
    if (m.sam || isDomainController(net, m) || !(m.type & SV_TYPE_NT)) continue;
    // A machine that keeps its own accounts starts as a fresh NT installation does.
    Sam sam;
    sam.name = m.name;
    sam.sid = machineSid(m.name);
    const User admin = builtinAdministrator();
    User guest;
    guest.name = "Guest";
    guest.rid = 501;
    guest.info.usri3_priv = USER_PRIV_GUEST;
    guest.info.usri3_comment = "Built-in account for guest access to the computer/domain";
    guest.info.usri3_flags = UF_SCRIPT | UF_NORMAL_ACCOUNT | UF_ACCOUNTDISABLE |
                             UF_PASSWD_NOTREQD | UF_PASSWD_CANT_CHANGE | UF_DONT_EXPIRE_PASSWD;
    sam.users = {admin, guest};
    Group none;
    none.name = "None";
    none.rid = 513;
    none.comment = "Ordinary users";
    none.members = {500, 501};
    sam.groups = {none};
    const Domain* d = net.findDomain(m.domain);
    auto domainGroup = [&](const char* name) -> std::vector<SID> {
      if (!d) return {};
      if (const Group* g = d->sam.findGroup(name)) return {accountSid(d->sam, g->rid, AccountKind::Group)};
      return {};
    };
    LocalGroup admins{"Administrators", 544, "Members can fully administer the computer/domain",
                      {accountSid(sam, 500, AccountKind::User)}};
    for (auto& s : domainGroup("Domain Admins")) admins.members.push_back(s);
    LocalGroup users{"Users", 545, "Ordinary users", domainGroup("Domain Users")};
    LocalGroup guests{"Guests", 546, "Users granted guest access to the computer/domain",
                      {accountSid(sam, 501, AccountKind::User)}};
    for (auto& s : domainGroup("Domain Guests")) guests.members.push_back(s);
    LocalGroup powerUsers{"Power Users", 547, "Members can share directories and printers", {}};
    LocalGroup backup{"Backup Operators", 551, "Members can bypass file security to back up files", {}};
    sam.localGroups = {admins, users, guests, powerUsers, backup};
    m.sam = std::move(sam);
  }
  // Databases read from the file were indexed as they were read.
  for (auto& d : net.domains) if (!d.sam.indexed()) d.sam.reindex();
  for (auto& m : net.machines) if (m.sam && !m.sam->indexed()) m.sam->reindex();
}

std::unique_ptr<Network> parseLab(std::string_view text, std::string_view source,
                                  std::string* error) {
  auto net = std::make_unique<Network>();
  try {
    const Json root = Json::parse(text.begin(), text.end());
    parseNetwork(root, *net);
  } catch (const Json::parse_error& e) {
    if (error) {
      std::string what = e.what();
      // nlohmann's text: "[json.exception.parse_error.101] parse error at line 3, column 5: ...",
      // which can end with the whole token last read: a string of any length.
      auto colon = what.find(": ");
      auto detail = colon == std::string::npos ? what : what.substr(colon + 2);
      *error = messageText(source, kQuotedPathChars) + ": " +
               lineAndColumn(text, e.byte > 0 ? e.byte - 1 : 0) +
               ": malformed JSON: " + messageText(detail, kQuotedTextChars);
    }
    return nullptr;
  } catch (const Fault& f) {
    if (error) *error = messageText(source, kQuotedPathChars) + ": " + f.where + ": " + f.what;
    return nullptr;
  } catch (const std::exception& e) {
    if (error) *error = messageText(source, kQuotedPathChars) + ": " + messageText(e.what(), kWholeMessageChars);
    return nullptr;
  }
  completeNetwork(*net);
  return net;
}

std::unique_ptr<Network> parseLabQuickly(LabText& text) {
  auto net = std::make_unique<Network>();
  try {
    simdjson::dom::parser parser;
    simdjson::dom::element root;
    const std::string_view json = text.view();
    if (parser.parse(json.data(), json.size(), false).get(root) != simdjson::SUCCESS) return nullptr;
    // The document holds copies of all it needs.
    text.release();
    parseNetwork(SimdValue(root), *net);
  } catch (...) {
    // A fault, or something this reader leaves to the other one.
    return nullptr;
  }
  completeNetwork(*net);
  return net;
}

std::string writeLab(const Network& net) {
  Json root;
  root["format"] = 1;
  root["localMachine"] = net.localMachine;
  root["loggedOn"] = net.loggedOn;
  const auto& v = net.system.version;
  root["system"] = Json{{"platformId", v.dwPlatformId}, {"major", v.dwMajorVersion},
                        {"minor", v.dwMinorVersion}, {"build", v.dwBuildNumber},
                        {"csdVersion", v.szCSDVersion}};
  if (!net.networkProviders.empty()) root["networkProviders"] = net.networkProviders;
  Json domains = Json::array();
  for (const auto& d : net.domains) {
    Json j;
    j["name"] = d.name;
    j["pdc"] = d.pdc;
    j["bdcs"] = d.bdcs;
    j["trusts"] = d.trusts;
    j = writeSamFields(d.sam, std::move(j));
    j["localGroups"] = writeLocalGroups(net, d.sam);
    j["deletedAccounts"] = writeDeleted(d.sam);
    domains.push_back(std::move(j));
  }
  root["domains"] = std::move(domains);
  Json machines = Json::array();
  for (const auto& m : net.machines) machines.push_back(writeMachine(net, m));
  root["machines"] = std::move(machines);
  if (!net.userHives.empty()) {
    Json u = Json::object();
    for (const auto& [key, hive] : net.userHives) {
      auto it = net.userHiveNames.find(key);
      u[it == net.userHiveNames.end() ? key : it->second] = writeKeys(hive, nullptr);
    }
    root["userRegistries"] = std::move(u);
  }
  return root.dump(2) + "\n";
}

}  // namespace lab
