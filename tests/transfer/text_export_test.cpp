#include <gtest/gtest.h>

#include <QTreeWidget>

#include "transfer/export_display.h"
#include "transfer/text_export.h"
#include "transfer_test_support.h"

namespace transfer {
namespace {

using display::DisplayType;
using namespace transfer_test;

class TextExportTest : public ::testing::Test {
 protected:
  std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }
  ExportResult exportCurrent(const std::string& file, ExportFormat format) {
    return exportDisplay(exportSourceOf(m_host), file, format);
  }

  display_test::RecordingHost m_host;
  QTemporaryDir m_dir;
};

TEST_F(TextExportTest, HiddenFirstColumnLeadsWithSeparatorInViewOrder) {
  m_host.current = DisplayType::Groups;
  auto shown = showGroups(m_host, kGroups);
  shown.content->list().setRowOrder({3, 2, 1, 0});  // a sort reversed the rows
  shown.model->reset();
  QTableView* view = m_host.listView(DisplayType::Groups);
  view->setColumnHidden(0, true);
  view->setRowHidden(1, true);  // a filter dropped the Domain Users line

  ASSERT_TRUE(exportCurrent(path("groups.txt"), ExportFormat::TabText).ok());
  EXPECT_EQ(readFile(path("groups.txt")), readFile(goldenPath("groups_hidden_first.txt")));
}

// A cell holding a comma stays one field for a spreadsheet; others are
// written exactly as in the tab-delimited file.
TEST_F(TextExportTest, CsvQuotesACellHoldingACommaAndNoOther) {
  m_host.current = DisplayType::Groups;
  showGroups(m_host, kGroups);
  ASSERT_TRUE(exportCurrent(path("groups.csv"), ExportFormat::CsvText).ok());
  EXPECT_EQ(readFile(path("groups.csv")), readFile(goldenPath("groups_comma.csv")));
}

TEST_F(TextExportTest, NetworkTreeIsIndentedEvenWhenCsvIsChosen) {
  m_host.current = DisplayType::Network;
  QTreeWidget* tree = m_host.treeView(DisplayType::Network);
  auto* root = new QTreeWidgetItem(tree, {"root"});
  auto* provider = new QTreeWidgetItem(root, {"Microsoft Windows Network"});
  auto* lab = new QTreeWidgetItem(provider, {"LAB"});
  auto* pdc = new QTreeWidgetItem(lab, {"\\\\PDC"});
  new QTreeWidgetItem(pdc, {"NETLOGON"});
  new QTreeWidgetItem(pdc, {"PUBLIC"});
  new QTreeWidgetItem(lab, {"\\\\FS1"});
  new QTreeWidgetItem(provider, {"PARTNER"});
  new QTreeWidgetItem(root, {"Other Network"});

  ASSERT_TRUE(exportCurrent(path("net.csv"), ExportFormat::CsvText).ok());
  EXPECT_EQ(readFile(path("net.csv")), readFile(goldenPath("network_tree.txt")));
}

TEST_F(TextExportTest, FilesAccessTreeExportsItsTreeAndTheListFormsTheirList) {
  m_host.current = DisplayType::Files;
  new QTreeWidgetItem(m_host.treeView(DisplayType::Files), {"root"});
  m_host.settings.f_display_type = 1;
  ExportSource source = exportSourceOf(m_host);
  ASSERT_TRUE(source.tree);
  EXPECT_NE(source.list, nullptr);  // for the database
  ASSERT_TRUE(exportDisplay(source, path("files.txt"), ExportFormat::TabText).ok());
  EXPECT_EQ(readFile(path("files.txt")), "root\r\n");

  m_host.settings.f_display_type = 2;
  source = exportSourceOf(m_host);
  EXPECT_FALSE(source.tree);
  EXPECT_NE(source.list, nullptr);
}

TEST_F(TextExportTest, EmptyListWritesTheHeaderOnly) {
  m_host.current = DisplayType::Groups;
  showGroups(m_host, {});
  ASSERT_TRUE(exportCurrent(path("empty.txt"), ExportFormat::TabText).ok());
  EXPECT_EQ(readFile(path("empty.txt")), "GroupName\tComment\tUserName\r\n");
}

TEST_F(TextExportTest, ReplacesAnExistingFileWholeAndLeavesNoTemporaryFile) {
  m_host.current = DisplayType::Groups;
  showGroups(m_host, {});
  writeFile(path("old.txt"), std::string(10000, 'o'));
  ASSERT_TRUE(exportCurrent(path("old.txt"), ExportFormat::TabText).ok());
  EXPECT_EQ(readFile(path("old.txt")), "GroupName\tComment\tUserName\r\n");
  EXPECT_EQ(filesIn(m_dir), QStringList{"old.txt"});
}

TEST_F(TextExportTest, UnwritablePlaceIsCannotCreateFile) {
  m_host.current = DisplayType::Groups;
  showGroups(m_host, kGroups);
  const ExportResult result =
      exportCurrent(path("no such folder/groups.txt"), ExportFormat::TabText);
  EXPECT_EQ(result.error, ExportError::CannotCreateFile);
  EXPECT_EQ(exportCurrent(m_dir.path().toStdString(), ExportFormat::TabText).error,
            ExportError::CannotCreateFile);  // a folder
}

}  // namespace
}  // namespace transfer
