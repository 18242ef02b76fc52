#pragma once
// A display's tree as plain nodes: the Network and Performance trees and
// the Files access tree are built here from their workers' lines, and the
// window's tree widget and the export both read the same nodes. Plain C++.

#include <optional>
#include <string>
#include <vector>

#include "session/list_images.h"
#include "settings/settings_values.h"

namespace session {

struct TreeNode {
  std::string text;
  int parent = -1;  // index of the parent node; -1 for a top-level node
  std::optional<display::TreeImage> image;
  bool expanded = false;
};

// Nodes in the order they were made: a parent always comes before its
// children, and children of one parent keep their order.
struct DisplayTree {
  std::vector<TreeNode> nodes;

  int add(int parent, std::string text, std::optional<display::TreeImage> image = {}) {
    nodes.push_back({std::move(text), parent, image, false});
    return static_cast<int>(nodes.size()) - 1;
  }
  void expand(int node) {
    if (node >= 0) nodes[static_cast<std::size_t>(node)].expanded = true;
  }
  bool empty() const { return nodes.empty(); }
};

// The node's depth and text, depth first: a node, its children, then its
// next sibling (the order a text export writes).
struct TreeLine {
  int depth = 0;
  const std::string* text = nullptr;
};
std::vector<TreeLine> depthFirst(const DisplayTree& tree);

// The Network tree: the levels the settings show (`n_Net_Types`,
// `n_Domains`, `n_Domain_Members`, `n_Shares_Disk`, `n_Shares_Printer`),
// each line under the nearest level shown above it.
DisplayTree networkTree(const std::vector<std::string>& lines, const settings::SettingsValues& s);
// The Performance tree: every kind of line, root, provider and domain open.
DisplayTree performanceTree(const std::vector<std::string>& lines);
// The Files access tree of one user: its count is the directories and files.
struct AccessTree {
  DisplayTree tree;
  std::size_t count = 0;
};
AccessTree accessTree(const std::vector<std::string>& lines);

}  // namespace session
