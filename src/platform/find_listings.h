#pragma once
// What a backend keeps between FindFirstFile and FindClose: each listing is
// read whole at FindFirstFile, so nothing stays open on the machine between
// calls, and handed out one entry per FindNextFile.

#include <cstddef>
#include <map>
#include <mutex>
#include <string_view>
#include <vector>

#include "platform/files.h"

namespace platform {

class FindListings {
 public:
  // Keeps `entries` (at least one) under a new handle; the first is the
  // FindFirstFile answer.
  FIND_HANDLE open(std::vector<WIN32_FIND_DATA> entries, WIN32_FIND_DATA* first);
  DWORD next(FIND_HANDLE handle, WIN32_FIND_DATA* data);
  DWORD close(FIND_HANDLE handle);

 private:
  struct Listing {
    std::vector<WIN32_FIND_DATA> entries;
    std::size_t next = 0;
  };
  std::mutex m_mutex;
  std::map<FIND_HANDLE, Listing> m_listings;
  FIND_HANDLE m_nextHandle = 1;
};

// The "*" / "?" patterns of FindFirstFile, without regard to case ("*.*" is
// every name, dotted or not).
bool matchesFilePattern(std::string_view pattern, std::string_view name);

}  // namespace platform
