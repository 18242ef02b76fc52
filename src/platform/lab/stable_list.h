#pragma once
// A list of values that stay where they are in memory: each element lives in
// its own allocation, so removing one from the middle of a long list moves
// pointers rather than whole values (a user account is several hundred
// bytes, and a domain may hold a hundred thousand).

#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

namespace lab {

template <class T>
class StableList {
  using Slots = std::vector<std::unique_ptr<T>>;

  template <class Base, class Value>
  class Iter {
   public:
    using iterator_category = std::random_access_iterator_tag;
    using value_type = T;
    using difference_type = std::ptrdiff_t;
    using pointer = Value*;
    using reference = Value&;
    Iter() = default;
    explicit Iter(Base it) : m_it(it) {}
    reference operator*() const { return **m_it; }
    pointer operator->() const { return m_it->get(); }
    Iter& operator++() { ++m_it; return *this; }
    Iter operator++(int) { return Iter(m_it++); }
    Iter& operator--() { --m_it; return *this; }
    Iter& operator+=(difference_type n) { m_it += n; return *this; }
    Iter operator+(difference_type n) const { return Iter(m_it + n); }
    Iter operator-(difference_type n) const { return Iter(m_it - n); }
    difference_type operator-(const Iter& o) const { return m_it - o.m_it; }
    reference operator[](difference_type n) const { return *m_it[n]; }
    bool operator==(const Iter& o) const { return m_it == o.m_it; }
    auto operator<=>(const Iter& o) const { return m_it <=> o.m_it; }

   private:
    Base m_it{};
  };

 public:
  using value_type = T;
  using iterator = Iter<typename Slots::iterator, T>;
  using const_iterator = Iter<typename Slots::const_iterator, const T>;

  StableList() = default;
  StableList(std::initializer_list<T> values) {
    for (const auto& v : values) push_back(v);
  }
  StableList(const StableList& other) {
    m_slots.reserve(other.size());
    for (const auto& p : other.m_slots) m_slots.push_back(std::make_unique<T>(*p));
  }
  StableList& operator=(const StableList& other) {
    if (this != &other) {
      StableList copy(other);
      m_slots.swap(copy.m_slots);
    }
    return *this;
  }
  StableList(StableList&&) noexcept = default;
  StableList& operator=(StableList&&) noexcept = default;

  std::size_t size() const { return m_slots.size(); }
  bool empty() const { return m_slots.empty(); }
  void reserve(std::size_t n) { m_slots.reserve(n); }
  // Grows with default values, or drops the last ones.
  void resize(std::size_t n) {
    if (n < size()) m_slots.resize(n);
    m_slots.reserve(n);
    while (size() < n) m_slots.push_back(std::make_unique<T>());
  }
  void push_back(T value) { m_slots.push_back(std::make_unique<T>(std::move(value))); }
  void erase(std::size_t index) { m_slots.erase(m_slots.begin() + static_cast<std::ptrdiff_t>(index)); }

  T& operator[](std::size_t i) { return *m_slots[i]; }
  const T& operator[](std::size_t i) const { return *m_slots[i]; }
  T& at(std::size_t i) { return *m_slots.at(i); }
  const T& at(std::size_t i) const { return *m_slots.at(i); }
  T& back() { return *m_slots.back(); }
  const T& back() const { return *m_slots.back(); }

  iterator begin() { return iterator(m_slots.begin()); }
  iterator end() { return iterator(m_slots.end()); }
  const_iterator begin() const { return const_iterator(m_slots.begin()); }
  const_iterator end() const { return const_iterator(m_slots.end()); }

 private:
  Slots m_slots;
};

}  // namespace lab
