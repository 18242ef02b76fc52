#pragma once
// The small images of the result lists and trees, by the image indexes the
// displays use. Icons come from the resource file (":/icons/<name>.svg");
// a missing icon is a null QIcon, so a row simply shows no image.

#include <QIcon>

#include <array>
#include <string_view>

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

class IconSet {
 public:
  IconSet() = default;  // every image null

  // The icons found in the resource file; absent ones stay null.
  static IconSet fromResources();

  // Resource names, without the ":/icons/" prefix and ".svg" suffix.
  static std::string_view name(ListImage image);
  static std::string_view name(TreeImage image);

  const QIcon& icon(ListImage image) const { return m_list[static_cast<int>(image)]; }
  const QIcon& icon(TreeImage image) const { return m_tree[static_cast<int>(image)]; }
  void setIcon(ListImage image, QIcon icon) { m_list[static_cast<int>(image)] = std::move(icon); }
  void setIcon(TreeImage image, QIcon icon) { m_tree[static_cast<int>(image)] = std::move(icon); }

 private:
  std::array<QIcon, kListImageCount> m_list;
  std::array<QIcon, kTreeImageCount> m_tree;
};

}  // namespace display
