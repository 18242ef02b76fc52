#pragma once
// The small images of the result lists and trees, by the image indexes the
// displays use: which image a row or node shows is decided with its records,
// the pictures themselves belong to the window (display/icon_set.h).

namespace display {

// Images of the lists.
enum class ListImage : int {
  GlobalGroup = 0,
  Account = 1,  // a normal account, and a group's member line
  Server = 2,
  LocalGroup = 3,
  LockedOut = 4,
  QuotaOk = 5,
  QuotaWarning = 6,
  QuotaStop = 7,
  QuotaIllegal = 8,
  Disabled = 9,
};
inline constexpr int kListImageCount = 10;

// Images of the trees.
enum class TreeImage : int {
  Root = 0,
  Provider = 1,  // also a user, and the first container level of the access tree
  Domain = 2,
  Server = 3,
  DiskShare = 4,  // also a directory whose access list and every one above names the user
  PrintShare = 5,
  DirectoryNotNamed = 6,    // access list does not name the user
  DirectoryNamedBelow = 7,  // named, but some directory above was not
  File = 8,
};
inline constexpr int kTreeImageCount = 9;

}  // namespace display
