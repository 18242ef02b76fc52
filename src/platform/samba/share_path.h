#pragma once
// UNC paths ("\\\\SERVER\\SHARE\\dir\\file") taken apart for the share
// client, and the listing patterns of FindFirstFile.

#include <string>
#include <string_view>

namespace platform::samba {

struct SharePath {
  std::string server;  // as given: a name or an address
  std::string share;
  std::string rest;    // below the share, '\\'-separated, no leading or trailing '\\'
};

// False for anything but "\\\\SERVER\\SHARE[\\...]" (a local path, a bare
// server, an empty part in the middle).
bool parseSharePath(std::string_view path, SharePath* out);

// The client library's URL of `rest` on `share` at `address`, each byte
// that could be read as URL syntax escaped.
std::string shareUrl(std::string_view address, std::string_view share, std::string_view rest);


// A name a directory may take: not empty, not "." or "..", none of the
// characters file names may not hold.
bool validDirectoryName(std::string_view name);

}  // namespace platform::samba
