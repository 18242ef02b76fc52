#include "session/display_tree.h"

#include <string_view>

namespace session {

using display::TreeImage;

std::vector<TreeLine> depthFirst(const DisplayTree& tree) {
  const std::size_t n = tree.nodes.size();
  std::vector<std::vector<int>> children(n);
  std::vector<int> tops;
  for (std::size_t i = 0; i < n; ++i) {
    const int parent = tree.nodes[i].parent;
    (parent >= 0 ? children[static_cast<std::size_t>(parent)] : tops).push_back(static_cast<int>(i));
  }
  std::vector<TreeLine> lines;
  lines.reserve(n);
  std::vector<std::pair<int, int>> pending;  // node, depth
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) pending.emplace_back(*it, 0);
  while (!pending.empty()) {
    const auto [node, depth] = pending.back();
    pending.pop_back();
    lines.push_back({depth, &tree.nodes[static_cast<std::size_t>(node)].text});
    const auto& below = children[static_cast<std::size_t>(node)];
    for (auto it = below.rbegin(); it != below.rend(); ++it) pending.emplace_back(*it, depth + 1);
  }
  return lines;
}

namespace {

// The text after the type letter and the depth tabs.
std::string nodeText(std::string_view line, std::size_t* tabs = nullptr) {
  std::size_t start = 1;
  while (start < line.size() && line[start] == '\t') ++start;
  if (tabs) *tabs = start - 1;
  return std::string(line.substr(start));
}

struct Levels {
  int root = -1;
  int provider = -1;
  int domain = -1;
};

// Every kind of line is shown with the default settings.
Levels buildNetwork(DisplayTree& tree, const std::vector<std::string>& lines,
                    const settings::SettingsValues& s) {
  Levels top;
  if (s.n_Net_Types == 1) top.root = tree.add(-1, "root", TreeImage::Root);
  int provider = -1;
  int domain = -1;
  int server = -1;
  // Under the nearest level shown; the top of the tree when none is.
  const auto nearest = [](std::initializer_list<int> levels) {
    for (int level : levels)
      if (level >= 0) return level;
    return -1;
  };
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    switch (line[0]) {
      case 'u':
        if (s.n_Net_Types == 1) {
          provider = tree.add(top.root, nodeText(line), TreeImage::Provider);
          domain = server = -1;
        }
        break;
      case 'D':
        if (s.n_Domains == 1) {
          domain = tree.add(nearest({provider, top.root}), nodeText(line), TreeImage::Domain);
          server = -1;
        }
        break;
      case 'S':
        if (s.n_Domain_Members == 1)
          server = tree.add(nearest({domain, provider, top.root}), nodeText(line),
                            TreeImage::Server);
        break;
      case 'd':
      case 'p':
        if ((line[0] == 'd' ? s.n_Shares_Disk : s.n_Shares_Printer) == 1)
          tree.add(nearest({server, domain, provider, top.root}), nodeText(line),
                   line[0] == 'd' ? TreeImage::DiskShare : TreeImage::PrintShare);
        break;
      default: break;
    }
  }
  // The provider and domain the walk ended in.
  top.provider = provider;
  top.domain = domain;
  return top;
}

}  // namespace

DisplayTree networkTree(const std::vector<std::string>& lines, const settings::SettingsValues& s) {
  DisplayTree tree;
  tree.expand(buildNetwork(tree, lines, s).root);
  return tree;
}

DisplayTree performanceTree(const std::vector<std::string>& lines) {
  DisplayTree tree;
  const Levels top = buildNetwork(tree, lines, settings::SettingsValues{});
  for (int node : {top.root, top.provider, top.domain}) tree.expand(node);
  return tree;
}

AccessTree accessTree(const std::vector<std::string>& lines) {
  AccessTree out;
  DisplayTree& tree = out.tree;
  const int root = tree.add(-1, "root", TreeImage::Root);
  // The node last made at each depth, and each depth's mark.
  std::vector<int> kept(4, root);
  std::vector<int> marks(4, 0);
  const auto keep = [&](std::size_t depth, int node) {
    if (kept.size() <= depth) {
      kept.resize(depth + 1, -1);
      marks.resize(depth + 1, 0);
    }
    kept[depth] = node;
  };
  const auto under = [&](int parent) { return parent >= 0 ? parent : root; };
  for (const std::string& line : lines) {
    if (line.empty()) break;
    std::size_t tabs = 0;
    switch (line[0]) {
      case 'D': keep(1, tree.add(root, nodeText(line, &tabs), TreeImage::Domain)); break;
      case 'u': keep(1, tree.add(root, nodeText(line, &tabs), TreeImage::Provider)); break;
      case 'S': keep(2, tree.add(under(kept[1]), nodeText(line, &tabs), TreeImage::Server)); break;
      case 'd':
        keep(3, tree.add(under(kept[2]), nodeText(line, &tabs), TreeImage::DiskShare));
        marks[3] = 0;
        break;
      case 'F': {
        std::string text = nodeText(line, &tabs);
        const bool named = !text.empty() && text.back() == 'Y';
        if (!text.empty()) text.pop_back();
        if (kept.size() <= tabs + 1) {
          kept.resize(tabs + 2, -1);
          marks.resize(tabs + 2, 0);
        }
        TreeImage image = TreeImage::DirectoryNotNamed;
        int below = 1;
        if (named && marks[tabs] != 0) {
          image = TreeImage::DirectoryNamedBelow;
          below = 3;
        } else if (named) {
          image = TreeImage::DiskShare;
          below = 0;
        }
        const int parent = under(kept[tabs]);
        keep(tabs + 1, tree.add(parent, std::move(text), image));
        marks[tabs + 1] = below;
        tree.expand(parent);
        ++out.count;
        break;
      }
      case 'f': {
        std::string text = nodeText(line, &tabs);
        const std::size_t depth = tabs + 1;
        const int parent = depth < kept.size() ? under(kept[depth]) : root;
        keep(depth + 1, tree.add(parent, std::move(text), TreeImage::File));
        ++out.count;
        break;
      }
      default: break;
    }
  }
  tree.expand(root);
  return out;
}

}  // namespace session
