#include "display/network_tree_fill.h"

#include <QTreeWidget>

namespace display {

namespace {

// The text after the type letter and the depth tabs.
QString nodeText(std::string_view line) {
  std::size_t start = 1;
  while (start < line.size() && line[start] == '\t') ++start;
  return QString::fromUtf8(line.data() + start, static_cast<qsizetype>(line.size() - start));
}

struct Built {
  int made = 0;
  QTreeWidgetItem* root = nullptr;
  QTreeWidgetItem* provider = nullptr;
  QTreeWidgetItem* domain = nullptr;
};

Built build(QTreeWidget& tree, const std::vector<std::string>& lines,
            const settings::SettingsValues& s);

}  // namespace

int fillNetworkTree(QTreeWidget& tree, const std::vector<std::string>& lines,
                    const settings::SettingsValues& s) {
  const Built built = build(tree, lines, s);
  if (built.root) built.root->setExpanded(true);
  return built.made;
}

int fillPerformanceTree(QTreeWidget& tree, const std::vector<std::string>& lines) {
  const Built built = build(tree, lines, settings::SettingsValues{});
  for (QTreeWidgetItem* item : {built.root, built.provider, built.domain})
    if (item) item->setExpanded(true);
  return built.made;
}

namespace {

// Every kind of line is shown with the default settings.
Built build(QTreeWidget& tree, const std::vector<std::string>& lines,
            const settings::SettingsValues& s) {
  tree.clear();
  tree.setUpdatesEnabled(false);
  int made = 0;
  QTreeWidgetItem* root = nullptr;
  if (s.n_Net_Types == 1) {
    root = new QTreeWidgetItem(&tree, QStringList{QStringLiteral("root")});
    ++made;
  }
  QTreeWidgetItem* provider = nullptr;
  QTreeWidgetItem* domain = nullptr;
  QTreeWidgetItem* server = nullptr;
  // Under the nearest level shown; the top of the tree when none is.
  auto add = [&](QTreeWidgetItem* parent, std::string_view line) {
    ++made;
    const QStringList text{nodeText(line)};
    return parent ? new QTreeWidgetItem(parent, text) : new QTreeWidgetItem(&tree, text);
  };
  for (const std::string& line : lines) {
    if (line.empty()) continue;
    switch (line[0]) {
      case 'u':
        if (s.n_Net_Types == 1) {
          provider = add(root, line);
          domain = server = nullptr;
        }
        break;
      case 'D':
        if (s.n_Domains == 1) {
          domain = add(provider ? provider : root, line);
          server = nullptr;
        }
        break;
      case 'S':
        if (s.n_Domain_Members == 1) {
          server = add(domain ? domain : provider ? provider : root, line);
        }
        break;
      case 'd':
      case 'p':
        if ((line[0] == 'd' ? s.n_Shares_Disk : s.n_Shares_Printer) == 1) {
          add(server ? server : domain ? domain : provider ? provider : root, line);
        }
        break;
      default: break;
    }
  }
  tree.setUpdatesEnabled(true);
  return Built{made, root, provider, domain};
}

}  // namespace

}  // namespace display
