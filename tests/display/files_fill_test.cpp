// The Files fills: the size-per-user list with its kilobyte texts and the
// denial rows the settings leave out, the rights-dump list, and the access
// tree with the images its marks give.

#include <gtest/gtest.h>

#include <QTableView>
#include <QTreeWidget>

#include "session/files_texts.h"
#include "display/result_display.h"
#include "recording_host.h"

namespace display {
namespace {

using dlgthreads::WorkerBlock;
using dlgthreads::WorkKind;

TEST(FilesTexts, KilobytesFollowTheTwoFormsAndGoPastFourGiB) {
  EXPECT_EQ(kilobytesText(1048575), "1023 kb");
  EXPECT_EQ(kilobytesText(1048576), "1,0 kb");
  EXPECT_EQ(kilobytesText(5 * 1048576 + 3 * 1024), "5,3 kb");
  EXPECT_EQ(kilobytesText(6442450944ull + 2048), "6144,2 kb");
  // A total that stopped at the largest value says it is at least that.
  EXPECT_EQ(kilobytesText(~0ull), "17592186044415,1023+ kb");
  EXPECT_EQ(kilobytesText(~0ull - 1024), "17592186044415,1022 kb");
}

class FilesFill : public ::testing::Test {
 protected:
  WorkerBlock& block(int form) {
    m_block.kind = WorkKind::Files;
    m_block.state.selectedServer = "\\\\WKS";
    m_block.state.settings.f_display_type = form;
    m_host.settings.f_display_type = form;
    m_host.current = DisplayType::Files;
    return m_block;
  }
  void entry(std::string name, std::uint64_t bytes, std::uint32_t count, std::string path = {},
             std::string rights = {}) {
    dlgthreads::FilesEntry* e = m_block.files.at(m_block.files.used());
    e->name = std::move(name);
    e->bytes = bytes;
    e->count = count;
    e->path = std::move(path);
    e->rights = std::move(rights);
  }
  std::vector<std::vector<QString>> cells() {
    QAbstractItemModel* model = m_host.listView(DisplayType::Files)->model();
    std::vector<std::vector<QString>> out;
    for (int r = 0; r < model->rowCount(); ++r) {
      out.emplace_back();
      for (int c = 0; c < model->columnCount(); ++c) out.back().push_back(model->index(r, c).data().toString());
    }
    return out;
  }

  display_test::RecordingHost m_host;
  ResultDisplay m_display{m_host, IconSet{}};
  WorkerBlock m_block;
};

TEST_F(FilesFill, SizePerUserLeavesOutDenialsUnlessAskedFor) {
  block(0);
  entry("alice", 6442450944ull, 3);
  entry("<access denied>", 60, 1);
  entry("<dirlist denied>", 1, 1);
  m_display.setUpColumns(DisplayType::Files);
  m_display.fill(m_block);
  EXPECT_EQ(cells(), (std::vector<std::vector<QString>>{{"alice", "6144,0 kb", "3", "6442450944"}}));
  EXPECT_EQ(m_host.displayTexts(DisplayType::Files), (DisplayTexts{"\\\\WKS", "1"}));
  EXPECT_EQ(m_block.files.get(0).displayMark, 1u);
  EXPECT_EQ(m_block.files.get(1).displayMark, 0u);

  m_host.settings.f_file_denial = 1;
  m_host.settings.f_directory_denial = 1;
  m_block.state.settings = m_host.settings;
  m_display.fill(m_block);
  EXPECT_EQ(cells().size(), 3u);
}

TEST_F(FilesFill, RightsDumpShowsPathAccountAndRights) {
  block(2);
  entry("LAB\\alice", 0, 1, "C:\\Data", "(RW)");
  entry("Everyone", 0, 0, "C:\\Data", "(R)");
  m_display.setUpColumns(DisplayType::Files);
  m_display.fill(m_block);
  EXPECT_EQ(cells(), (std::vector<std::vector<QString>>{{"C:\\Data", "LAB\\alice", "(RW)"},
                                                      {"C:\\Data", "Everyone", "(R)"}}));
  EXPECT_EQ(m_host.listView(DisplayType::Files)->model()->headerData(0, Qt::Horizontal).toString(),
            "Filename");
}

TEST_F(FilesFill, AccessTreeNestsByDepthAndMarksWhatLiesBelowAnUnnamedDirectory) {
  block(1);
  m_block.userNameKnown = true;
  m_block.accessTreeWalked = true;
  for (const char* line : {"root", "D\tLAB", "S\t\t\\\\FS", "d\t\t\\\\FS\\DATA", "F\t\t\tOpen   (R)Y",
                           "F\t\t\t\tDeeper   (R)Y", "F\t\t\tClosed   (None)G", "F\t\t\t\tBelow   (R)Y"})
    m_block.accessTree.append(line);
  m_display.fill(m_block);
  QTreeWidget* tree = m_host.treeView(DisplayType::Files);
  ASSERT_EQ(tree->topLevelItemCount(), 1);
  QTreeWidgetItem* share = tree->topLevelItem(0)->child(0)->child(0)->child(0);
  ASSERT_NE(share, nullptr);
  EXPECT_EQ(share->text(0), "\\\\FS\\DATA");
  ASSERT_EQ(share->childCount(), 2);
  EXPECT_EQ(share->child(0)->text(0), "Open   (R)");
  EXPECT_EQ(share->child(0)->child(0)->text(0), "Deeper   (R)");
  EXPECT_EQ(share->child(1)->child(0)->text(0), "Below   (R)");
  EXPECT_TRUE(share->child(1)->isExpanded());
  EXPECT_EQ(m_host.displayTexts(DisplayType::Files).count, "4");

  // A user whose groups could not be read leaves the tree as it was.
  m_block.accessTreeWalked = false;
  m_block.accessTree.clear();
  m_display.fill(m_block);
  EXPECT_EQ(tree->topLevelItemCount(), 1);
  EXPECT_EQ(m_host.endBusyCalls, 2);
}

}  // namespace
}  // namespace display
