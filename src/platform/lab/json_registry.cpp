#include "platform/lab/json_registry.h"

#include "platform/lab/json_fields.h"
#include "platform/registry.h"

namespace lab::json {
namespace {

using namespace platform;

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

}  // namespace

bool knownHive(std::string_view name) {
  return name == "HKEY_LOCAL_MACHINE" || name == "HKEY_USERS" || name == "HKEY_CLASSES_ROOT";
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
void readValues(const J& vals, const std::string& path, RegKeyData& key) {
  for (std::size_t k = 0; k < vals.size(); ++k) {
    auto v = readValue(vals[k], at(path, k));
    auto dup = std::find_if(key.values.begin(), key.values.end(),
                            [&](const RegValue& e) { return upper(e.name) == upper(v.name); });
    if (dup != key.values.end()) fail(at(path, k), "duplicate value name " + quotedText(v.name));
    key.values.push_back(std::move(v));
  }
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
    readValues(array(a[i], "values", where), at(where, "values"), key);
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

template <class J>
void readUserRegistries(const J& root, Network& net) {
  const auto r = field(root, "userRegistries");
  if (!r) return;
  if (!r->is_object()) fail("/userRegistries", "expected an object of account names");
  for (auto it = r->begin(); it != r->end(); ++it) {
    const auto where = at("/userRegistries", it.key());
    if (!it->is_array()) fail(where, "expected an array of keys");
    const auto key = upper(it.key());
    net.userHiveNames[key] = it.key();
    readKeys(*it, where, net.userHives[key], false, nullptr);
  }
}

Json writeUserRegistries(const Network& net) {
  Json u = Json::object();
  for (const auto& [key, hive] : net.userHives) {
    auto it = net.userHiveNames.find(key);
    u[it == net.userHiveNames.end() ? key : it->second] = writeKeys(hive, nullptr);
  }
  return u;
}

template RegValue readValue(const Json&, const std::string&);
template RegValue readValue(const SimdValue&, const std::string&);
template void readValues(const Json&, const std::string&, RegKeyData&);
template void readValues(const SimdValue&, const std::string&, RegKeyData&);
template void readKeys(const Json&, const std::string&, Hive&, bool, std::map<std::string, Hive>*);
template void readKeys(const SimdValue&, const std::string&, Hive&, bool, std::map<std::string, Hive>*);
template void readUserRegistries(const Json&, Network&);
template void readUserRegistries(const SimdValue&, Network&);

}  // namespace lab::json
