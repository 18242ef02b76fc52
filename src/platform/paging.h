#pragma once
// Paging of enumerations by preferred maximum length, as the Net* functions
// page: whole entries measured by the size model, at least one entry when
// any remain, "more data" and a resume position when some are left.

#include <cstddef>
#include <vector>

#include "platform/netapi.h"
#include "platform/netsize.h"

namespace platform {

// Fills `out` with entries make(start), make(start+1), ... out of `total`.
// Returns the number taken; *more tells whether entries remain after them.
template <class T, class Make>
std::size_t takePage(std::vector<T>& out, std::size_t start, std::size_t total,
                     platform::DWORD prefmaxlen, std::size_t maxEntries, Make make, bool* more) {
  std::size_t used = 0;
  std::size_t i = start;
  const bool everything = prefmaxlen == platform::MAX_PREFERRED_LENGTH;
  if (everything && total > start) out.reserve(std::min(total - start, maxEntries));
  for (; i < total && out.size() < maxEntries; ++i) {
    T entry = make(i);
    if (!everything) {
      const std::size_t size = platform::netEntrySize(entry);
      if (!out.empty() && used + size > prefmaxlen) break;
      used += size;
    }
    out.push_back(std::move(entry));
  }
  *more = i < total;
  return i - start;
}

// Empties an enumeration's answer before anything can fail.
inline void clearEnum(platform::NetBuffer& buf, platform::DWORD* entriesread,
                      platform::DWORD* totalentries) {
  buf.reset();
  if (entriesread) *entriesread = 0;
  if (totalentries) *totalentries = 0;
}

// An enumeration with a resume handle: starts at *resume (0 without one),
// answers ERROR_MORE_DATA and the next position when entries remain.
// totalentries counts the entries from the starting position on.
template <class T, class Make>
platform::DWORD pageEnum(platform::NetBuffer& buf, std::size_t total, platform::DWORD prefmaxlen,
                         platform::DWORD* entriesread, platform::DWORD* totalentries,
                         platform::DWORD* resume, Make make) {
  const std::size_t start = resume ? *resume : 0;
  auto& out = buf.emplace<T>();
  bool more = false;
  const std::size_t taken = start < total
                                ? takePage(out, start, total, prefmaxlen, total, make, &more)
                                : 0;
  if (entriesread) *entriesread = static_cast<platform::DWORD>(taken);
  if (totalentries) *totalentries = static_cast<platform::DWORD>(start < total ? total - start : 0);
  if (resume) *resume = more ? static_cast<platform::DWORD>(start + taken) : 0;
  return more ? platform::ERROR_MORE_DATA : platform::NERR_Success;
}

}  // namespace platform
