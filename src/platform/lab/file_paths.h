#pragma once
// From a path the program names to a place on a lab machine's volume, and
// the SIDs the logged-on account reaches files with there.

#include <string>
#include <string_view>
#include <vector>

#include "platform/lab/model.h"

namespace lab {

// A path taken apart: the machine, its volume and the parts below the root.
struct FilePath {
  const Machine* machine = nullptr;
  const Volume* volume = nullptr;
  std::vector<std::string> parts;
  bool shareRoot = false;  // a UNC path naming only \\SERVER\SHARE
};

// Local ("C:\\a") or UNC ("\\\\SERVER\\SHARE\\a") paths. False with *status:
// ERROR_INVALID_NAME, ERROR_BAD_NETPATH (unknown or unreachable machine),
// ERROR_BAD_NET_NAME (no such share), ERROR_PATH_NOT_FOUND (no such drive).
bool resolveFilePath(const Network& net, std::string_view path, FilePath* out, DWORD* status);

// The logged-on account's SIDs on `m`: its own, its global groups', the local
// groups of `m` that hold any of them, Everyone and Authenticated Users.
std::vector<SID> fileAccessSids(const Network& net, const Machine& m);

// The true totals per owner (SID text) of every file below `path`, whatever
// the logged-on account may see; false with *status when the path names no
// directory.
bool ownerTotalsAt(const Network& net, std::string_view path,
                   std::unordered_map<std::string, OwnerTotal>* totals, DWORD* status);

// Creates the directory `parts` (its parent may be a generated one, which is
// then laid over with explicit nodes). False when a part on the way is a
// file.
bool addDirectoryNode(Volume& volume, const std::vector<std::string>& parts, Principal owner);

}  // namespace lab
