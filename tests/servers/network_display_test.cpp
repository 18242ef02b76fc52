// The Network display in the window: a browse builds the tree from the
// walk's lines under the display settings, and a network larger than the
// lines hold shows exactly the lines there are and says so once.

#include <QTreeWidget>

#include "../app/app_test_support.h"
#include "session/display_tree.h"
#include "platform/lab/lab.h"
#include "window/command_ids.h"

namespace {

using namespace window;

int countItems(const QTreeWidgetItem* item) {
  int n = 1;
  for (int i = 0; i < item->childCount(); ++i) n += countItems(item->child(i));
  return n;
}

class NetworkDisplay : public apptest::WindowTest {
 protected:
  void browseNetwork() {
    ASSERT_TRUE(makeWindow()) << (shownTexts().empty() ? "" : shownTexts().front());
    m_window->selectTab(2);
    m_tree = qobject_cast<QTreeWidget*>(m_window->resultControl(kCtlNetworkTree));
    ASSERT_NE(m_tree, nullptr);
    m_window->command(kIdBrowse);
    ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
  }
  QTreeWidget* m_tree = nullptr;
};

TEST_F(NetworkDisplay, AFullWalkShowsEveryLineItHoldsAndTellsOnce) {
  m_lab = lab::generateNetworkLab(2, 600, 4);
  m_backend.serveLab(m_lab);  // the window lab's goes before this one comes
  browseNetwork();
  ASSERT_EQ(m_tree->topLevelItemCount(), 1);
  const QTreeWidgetItem* root = m_tree->topLevelItem(0);
  EXPECT_EQ(root->text(0), "root");
  EXPECT_TRUE(root->isExpanded());
  EXPECT_EQ(countItems(root), 5001);  // the root and every one of the 5,000 lines
  EXPECT_EQ(root->child(0)->text(0), "Microsoft Windows Network");
  EXPECT_EQ(root->child(0)->child(0)->child(0)->child(0)->text(0), "\\\\NET00S0000\\SHARE00");
  EXPECT_EQ(m_window->statusText(3), "5000");
  const auto texts = shownTexts();
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_NE(texts[0].find("5000"), std::string::npos);
}

TEST_F(NetworkDisplay, AddServerIsOfferedForAServerNodeNotYetListed) {
  browseNetwork();
  auto offered = [&](const QString& node) {
    const auto found = m_tree->findItems(node, Qt::MatchExactly | Qt::MatchRecursive);
    if (found.isEmpty()) return false;
    m_tree->setCurrentItem(found.front());
    return m_window->commands().enabled(kIdAddServer, *m_window);
  };
  EXPECT_FALSE(offered("\\\\PDC"));  // listed already
  EXPECT_TRUE(offered("\\\\WS1"));
  EXPECT_FALSE(offered("LAB"));
  m_window->selectTab(5);
  EXPECT_TRUE(m_window->commands().enabled(kIdAddServer, *m_window));  // a typed name, elsewhere
}

// The tree as (depth, text) lines, depth first.
std::vector<std::pair<int, std::string>> shape(const session::DisplayTree& tree) {
  std::vector<std::pair<int, std::string>> lines;
  for (const session::TreeLine& line : session::depthFirst(tree))
    lines.emplace_back(line.depth, *line.text);
  return lines;
}

TEST(NetworkTree, EachKindOfLineShowsOnlyWithItsSetting) {
  const std::vector<std::string> lines{"uMicrosoft Windows Network", "D\tLAB", "S\t\t\\\\FS",
                                       "d\t\t\\\\FS\\DATA", "p\t\t\\\\FS\\LASER", "uOther"};
  settings::SettingsValues s;
  using Shape = std::vector<std::pair<int, std::string>>;
  EXPECT_EQ(shape(session::networkTree(lines, s)),
            (Shape{{0, "root"},
                   {1, "Microsoft Windows Network"},
                   {2, "LAB"},
                   {3, "\\\\FS"},
                   {4, "\\\\FS\\DATA"},
                   {4, "\\\\FS\\LASER"},
                   {1, "Other"}}));

  // Each level shows its image: root, provider, domain, server, disk and
  // printer share.
  const session::DisplayTree full = session::networkTree(lines, s);
  std::vector<display::TreeImage> images;
  for (const session::TreeNode& node : full.nodes) images.push_back(*node.image);
  using display::TreeImage;
  EXPECT_EQ(images, (std::vector<TreeImage>{TreeImage::Root, TreeImage::Provider,
                                            TreeImage::Domain, TreeImage::Server,
                                            TreeImage::DiskShare, TreeImage::PrintShare,
                                            TreeImage::Provider}));

  // Without providers nor servers the domains stand at the top and the
  // shares under their domain; without disk shares only the printer is left.
  s.n_Net_Types = 0;
  s.n_Domain_Members = 0;
  s.n_Shares_Disk = 0;
  EXPECT_EQ(shape(session::networkTree(lines, s)), (Shape{{0, "LAB"}, {1, "\\\\FS\\LASER"}}));
}

}  // namespace
