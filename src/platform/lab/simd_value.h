#pragma once
// A read-only view of a simdjson document value with the few calls the lab
// reader makes of a JSON value, so that one reader serves both the fast
// parser and the one whose messages name the faults.
//
// Anything the view cannot answer exactly as the slower parser would (a
// repeated key, a number beyond 64 bits) throws Unsure: the caller then
// reads the text again the slow way, which decides.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include <simdjson.h>

namespace lab {

struct Unsure {};

class SimdValue {
 public:
  SimdValue() = default;  // an empty array (a list that is absent)
  explicit SimdValue(simdjson::dom::element e) : m_element(e), m_present(true) {}

  bool is_object() const { return m_present && m_element.is_object(); }
  bool is_array() const { return !m_present || m_element.is_array(); }
  bool is_string() const { return m_present && m_element.is_string(); }
  bool is_boolean() const { return m_present && m_element.is_bool(); }
  bool is_number() const { return m_present && m_element.is_number(); }
  bool is_number_integer() const { return m_present && (isSigned() || isUnsigned()); }
  // As the slow parser has it: a whole number written without a sign.
  bool is_number_unsigned() const {
    if (!m_present) return false;
    return isUnsigned() || (isSigned() && int64_t(m_element) >= 0);
  }
  const char* type_name() const {
    if (!m_present) return "array";
    switch (m_element.type()) {
      case simdjson::dom::element_type::ARRAY: return "array";
      case simdjson::dom::element_type::OBJECT: return "object";
      case simdjson::dom::element_type::STRING: return "string";
      case simdjson::dom::element_type::BOOL: return "boolean";
      case simdjson::dom::element_type::NULL_VALUE: return "null";
      default: return "number";
    }
  }

  template <class T>
  T get() const {
    if constexpr (std::is_same_v<T, std::string>) {
      return std::string(std::string_view(m_element));
    } else if constexpr (std::is_same_v<T, bool>) {
      return bool(m_element);
    } else if constexpr (std::is_same_v<T, std::int64_t>) {
      if (isUnsigned()) throw Unsure{};
      return int64_t(m_element);
    } else {
      static_assert(std::is_unsigned_v<T>);
      if (isUnsigned()) return static_cast<T>(uint64_t(m_element));
      return static_cast<T>(int64_t(m_element));
    }
  }
  std::string_view view() const { return std::string_view(m_element); }
  // The value as compact JSON text (for parts read by the other reader).
  std::string minified() const { return simdjson::minify(m_element); }

  std::size_t size() const {
    if (!m_present) return 0;
    if (m_element.is_array()) return simdjson::dom::array(m_element).size();
    return simdjson::dom::object(m_element).size();
  }
  // Arrays are read front to back, each element usually asked for a few
  // times in a row: the cursor makes that linear rather than quadratic.
  SimdValue operator[](std::size_t i) const {
    if (i == m_lastIndex) return SimdValue(m_last);
    if (!m_cursor || i < m_cursorIndex) {
      m_cursor = simdjson::dom::array(m_element).begin();
      m_cursorIndex = 0;
    }
    while (m_cursorIndex < i) {
      ++*m_cursor;
      ++m_cursorIndex;
    }
    m_last = **m_cursor;
    m_lastIndex = i;
    return SimdValue(m_last);
  }

  // Object members, in written order.
  class Iterator;
  Iterator begin() const;
  Iterator end() const;

  // The first member named `key`. Field names are short: comparing them
  // byte by byte here beats a library call per member.
  std::optional<SimdValue> find(std::string_view key) const {
    for (const auto member : simdjson::dom::object(m_element)) {
      const std::string_view name = member.key;
      if (name.size() != key.size() || name[0] != key[0]) continue;
      std::size_t i = 1;
      while (i < name.size() && name[i] == key[i]) ++i;
      if (i == name.size()) return SimdValue(member.value);
    }
    return std::nullopt;
  }

 private:
  // The number's form as read: the document keeps a whole number as signed
  // unless it only fits unsigned.
  bool isSigned() const { return m_element.type() == simdjson::dom::element_type::INT64; }
  bool isUnsigned() const { return m_element.type() == simdjson::dom::element_type::UINT64; }

  simdjson::dom::element m_element;
  bool m_present = false;
  mutable std::optional<simdjson::dom::array::iterator> m_cursor;
  mutable std::size_t m_cursorIndex = 0;
  mutable simdjson::dom::element m_last;
  mutable std::size_t m_lastIndex = static_cast<std::size_t>(-1);
};

class SimdValue::Iterator {
 public:
  explicit Iterator(simdjson::dom::object::iterator it) : m_it(it) {}
  std::string key() const { return std::string((*m_it).key); }
  SimdValue operator*() const { return SimdValue((*m_it).value); }
  struct Arrow {
    SimdValue value;
    const SimdValue* operator->() const { return &value; }
  };
  Arrow operator->() const { return {**this}; }
  Iterator& operator++() {
    ++m_it;
    return *this;
  }
  bool operator!=(const Iterator& o) const { return m_it != o.m_it; }

 private:
  simdjson::dom::object::iterator m_it;
};

inline SimdValue::Iterator SimdValue::begin() const {
  return Iterator(simdjson::dom::object(m_element).begin());
}
inline SimdValue::Iterator SimdValue::end() const {
  return Iterator(simdjson::dom::object(m_element).end());
}

}  // namespace lab
