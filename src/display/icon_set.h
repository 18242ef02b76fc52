#pragma once
// The small images of the result lists and trees, by the image indexes the
// displays use. Icons come from the resource file (":/icons/<name>.svg");
// a missing icon is a null QIcon, so a row simply shows no image.

#include <QIcon>

#include <array>
#include <string_view>

#include "session/list_images.h"

namespace display {


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
