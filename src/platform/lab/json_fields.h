#pragma once
// The field readers every entity of the lab file is read with. They are
// templates over the JSON value: the fast reader passes a SimdValue, the one
// that runs to name a fault an nlohmann value. Faults are thrown as Fault,
// naming the place (a path of the file's own keys) and the problem.
//
// The journal's records are read with the stricter record fields at the end.

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/lab/lab_json_parts.h"
#include "platform/lab/simd_value.h"
#include "platform/lab/text_rules.h"
#include "platform/types.h"

namespace lab::json {

using platform::DWORD;

[[noreturn]] inline void fail(const std::string& where, const std::string& what) {
  throw boundedFault(where, what);
}

inline std::string at(const std::string& path, std::string_view key) {
  return path + "/" + std::string(key);
}
inline std::string at(const std::string& path, std::size_t index) {
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
    if (known == allowed.end()) fail(at(path, key), "unknown field " + platform::quotedText(key));
    if constexpr (std::is_same_v<J, SimdValue>) {
      // The fast reader would take the first of two equal keys where the
      // slow one takes the last: let the slow one decide.
      const std::uint64_t bit = std::uint64_t{1} << (known - allowed.begin());
      if (seen & bit) throw Unsure{};
      seen |= bit;
    }
  }
}

inline const Json* field(const Json& o, std::string_view key) {
  auto it = o.find(std::string(key));
  return it == o.end() ? nullptr : &*it;
}

inline std::optional<SimdValue> field(const SimdValue& o, std::string_view key) { return o.find(key); }

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

inline const Json& array(const Json& o, std::string_view key, const std::string& path) {
  static const Json kEmpty = Json::array();
  const auto j = field(o, key);
  if (!j) return kEmpty;
  if (!j->is_array()) fail(at(path, key), std::string("expected an array, found ") + typeName(*j));
  return *j;
}

inline SimdValue array(const SimdValue& o, std::string_view key, const std::string& path) {
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
    if (it == std::end(names)) fail(where(), "unknown flag " + platform::quotedText(name));
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

inline std::string toHex(const std::vector<std::uint8_t>& bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string out;
  for (auto b : bytes) {
    out += kDigits[b >> 4];
    out += kDigits[b & 15];
  }
  return out;
}

inline std::vector<std::uint8_t> fromHex(const std::string& hex, const std::string& path) {
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

// ---- the journal's record fields ----
// A record names every field it has: none is optional, none has a default.

inline const Json& need(const Json& o, const char* key, const std::string& where) {
  auto it = o.find(key);
  if (it == o.end()) fail(where + "/" + key, "required field is missing");
  return *it;
}

inline std::string recordText(const Json& o, const char* key, const std::string& where) {
  const Json& j = need(o, key, where);
  if (!j.is_string()) fail(where + "/" + key, "expected a string");
  auto text = j.get<std::string>();
  if (!isWritableText(text)) fail(where + "/" + key, "not text a lab may hold (a NUL or bad UTF-8)");
  return text;
}

inline DWORD recordNumber(const Json& o, const char* key, const std::string& where) {
  const Json& j = need(o, key, where);
  if (!j.is_number_unsigned() || j.get<std::uint64_t>() > 0xFFFFFFFFull) {
    fail(where + "/" + key, "expected a whole number");
  }
  return static_cast<DWORD>(j.get<std::uint64_t>());
}

inline bool recordFlag(const Json& o, const char* key, const std::string& where) {
  const Json& j = need(o, key, where);
  if (!j.is_boolean()) fail(where + "/" + key, "expected true or false");
  return j.get<bool>();
}

// A record of an entity that no longer exists.
inline bool gone(const Json& o) {
  auto it = o.find("gone");
  return it != o.end() && it->is_boolean() && it->get<bool>();
}

}  // namespace lab::json
