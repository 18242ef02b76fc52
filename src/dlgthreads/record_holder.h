#pragma once
// The record array of one display (Groups, Users, Servers, Licenses).
//
// A worker asks for a capacity once per browse; the request either succeeds
// or fails cleanly (an allocation limit, settable by tests, or the system
// refusing the memory), so the "less memory" fallbacks can run. Records are
// appended up to the capacity, always leaving room for the "END_OF_DATA"
// record that closes the array; the count excludes that record.

#include <cstddef>
#include <cstdint>
#include <limits>
#include <new>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "resources/strings.h"

namespace dlgthreads {

template <class T>
class RecordHolder {
 public:
  static constexpr std::size_t kNoLimit = std::numeric_limits<std::size_t>::max();
  // Memory actually reserved up front; larger capacities grow on demand, so a
  // generous estimate (a million group lines) costs nothing until it is used.
  static constexpr std::size_t kUpfrontReserve = 262144;

  // Makes a new, empty array able to hold `capacity` records including the
  // end record. False, with no array, when the request exceeds the limit or
  // the memory is refused.
  bool allocate(std::size_t capacity) {
    release();
    if (capacity == 0 || capacity > m_limit) return false;
    try {
      m_records.reserve(capacity < kUpfrontReserve ? capacity : kUpfrontReserve);
    } catch (const std::bad_alloc&) {
      m_records = {};
      return false;
    } catch (const std::length_error&) {
      m_records = {};
      return false;
    }
    m_capacity = capacity;
    m_hasArray = true;
    return true;
  }

  // Drops the array (the previous browse's records).
  void release() {
    m_records = {};
    m_capacity = 0;
    m_count = 0;
    m_hasArray = false;
  }

  bool hasArray() const { return m_hasArray; }
  std::size_t capacity() const { return m_capacity; }
  // Records that may be written before the end record.
  std::size_t room() const { return m_capacity == 0 ? 0 : m_capacity - 1; }

  // A new record at the end; nullptr when the array is full (or absent).
  T* append() {
    if (!m_hasArray || m_records.size() >= room()) return nullptr;
    try {
      return &m_records.emplace_back();
    } catch (const std::bad_alloc&) {
      return nullptr;  // the system ran out mid-fill: keep what we have
    }
  }
  // Makes `n` records (empty beyond the present ones), at most room().
  void resize(std::size_t n) {
    if (!m_hasArray) return;
    m_records.resize(n < room() ? n : room());
  }
  std::size_t size() const { return m_records.size(); }
  T& operator[](std::size_t i) { return m_records[i]; }
  const T& operator[](std::size_t i) const { return m_records[i]; }

  // Closes the array: drops records beyond `count`, appends the end record
  // and stores the count. Without an array this only sets the count to 0.
  void finish(std::size_t count) {
    if (!m_hasArray) {
      m_count = 0;
      return;
    }
    if (count > room()) count = room();
    m_records.resize(count);
    m_records.emplace_back().name = res::str(res::kStrEndOfData);
    m_count = static_cast<std::int32_t>(count);
  }
  // Closes the array after the records appended so far (call once).
  void finish() { finish(m_records.size()); }

  // The records filled (without the end record).
  std::span<T> records() { return {m_records.data(), static_cast<std::size_t>(m_count)}; }
  std::span<const T> records() const {
    return {m_records.data(), static_cast<std::size_t>(m_count)};
  }
  // The records with the end record, as the display walks them; empty
  // without an array.
  std::span<const T> withEnd() const { return m_records; }
  std::int32_t count() const { return m_count; }

  // Largest capacity allocate() accepts; tests lower it to drive the
  // allocation failure paths.
  void setAllocationLimit(std::size_t records) { m_limit = records; }
  std::size_t allocationLimit() const { return m_limit; }

 private:
  std::vector<T> m_records;
  std::size_t m_capacity = 0;
  std::size_t m_limit = kNoLimit;
  std::int32_t m_count = 0;
  bool m_hasArray = false;
};

}  // namespace dlgthreads
