#include "platform/find_listings.h"

#include <utility>

namespace platform {

namespace {

char upperChar(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

}  // namespace

FIND_HANDLE FindListings::open(std::vector<WIN32_FIND_DATA> entries, WIN32_FIND_DATA* first) {
  if (first) *first = entries.front();
  std::lock_guard lock(m_mutex);
  const FIND_HANDLE h = m_nextHandle++;
  m_listings.emplace(h, Listing{std::move(entries), 1});
  return h;
}

DWORD FindListings::next(FIND_HANDLE handle, WIN32_FIND_DATA* data) {
  std::lock_guard lock(m_mutex);
  auto it = m_listings.find(handle);
  if (it == m_listings.end()) return ERROR_INVALID_HANDLE;
  Listing& l = it->second;
  if (l.next >= l.entries.size()) return ERROR_NO_MORE_FILES;
  if (data) *data = std::move(l.entries[l.next]);
  ++l.next;
  return ERROR_SUCCESS;
}

DWORD FindListings::close(FIND_HANDLE handle) {
  std::lock_guard lock(m_mutex);
  return m_listings.erase(handle) == 1 ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

bool matchesFilePattern(std::string_view pattern, std::string_view name) {
  if (pattern == "*.*" || pattern == "*") return true;
  // Iterative wildcard match, backtracking to the last star.
  std::size_t p = 0, n = 0, star = std::string_view::npos, mark = 0;
  while (n < name.size()) {
    if (p < pattern.size() && (pattern[p] == '?' || upperChar(pattern[p]) == upperChar(name[n]))) {
      ++p;
      ++n;
    } else if (p < pattern.size() && pattern[p] == '*') {
      star = p++;
      mark = n;
    } else if (star != std::string_view::npos) {
      p = star + 1;
      n = ++mark;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace platform
