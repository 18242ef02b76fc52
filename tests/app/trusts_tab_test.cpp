// The Trusts and Performance tabs: a Trusts browse fills its list at once,
// File > Export writes it as the unattended run does, and a domain that
// cannot be asked says so without writing anything.

#include <QComboBox>
#include <QFile>
#include <QTableView>
#include <QTemporaryDir>
#include <QTreeWidget>

#include "app_test_support.h"
#include "unattended_process.h"
#include "window/command_ids.h"

namespace {

using apptest::WindowTest;
using apptest::waitUntil;
using display::DisplayType;
using namespace window;

std::string contents(const QString& file) {
  QFile f(file);
  if (!f.open(QIODevice::ReadOnly)) return {};
  return f.readAll().toStdString();
}

class TrustsTab : public WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    ASSERT_TRUE(m_dir.isValid());
    const QString lab = VELTRANE_TEST_LABS "/trusts.json";
    ASSERT_TRUE(QFile::copy(lab, labPath()));
    QFile::setPermissions(labPath(), QFile::ReadOwner | QFile::WriteOwner);
    m_lab = lab::test::loadLabFile(lab.toStdString());
    ASSERT_TRUE(m_lab);
    m_backend.serveLab(m_lab);
  }
  QString labPath() const { return m_dir.filePath("lab.json"); }
  QString path(const char* name) const { return m_dir.filePath(name); }
  // File > Export of the current display, tab-delimited, into `name`.
  std::string exported(const char* name) {
    m_files->queueAnswer(path(name).toStdString(), 0);
    m_window->command(kIdExport);
    return contents(path(name));
  }

  QTemporaryDir m_dir;
};

TEST_F(TrustsTab, BrowsesAtOnceAndExportsWhatTheUnattendedRunWrites) {
  ASSERT_TRUE(makeWindow());
  m_window->selectTab(7);
  ASSERT_EQ(m_window->currentDisplayType(), DisplayType::Trusts);
  m_window->command(kIdBrowse);
  // Gathered on the window's thread: done when the command returns.
  EXPECT_FALSE(m_window->browsing());
  EXPECT_EQ(m_window->statusText(0), "Ready");
  EXPECT_EQ(m_window->statusText(2), "CORP\\\\CORPDC");
  EXPECT_EQ(m_window->statusText(3), "5");
  EXPECT_EQ(m_window->listView(DisplayType::Trusts)->model()->rowCount(), 5);

  const std::string window = exported("window.txt");
  EXPECT_EQ(window,
            "Domain\tDNS Name\tRelationship\tType\tTransitive\r\n"
            "BRANCH\t\tTwo-way\tWindows NT\tNo\r\n"
            "ACME\t\tTrusting\tWindows NT\tNo\r\n"
            "OLDNT\t\tTrusted\tWindows NT\tNo\r\n"
            "FABRIKAM\tfabrikam.example\tTwo-way\tActive Directory\tYes\r\n"
            "EXAMPLE.ORG\tEXAMPLE.ORG\tTrusting\tMIT Kerberos\tYes\r\n");
  const apptest::RunResult run =
      apptest::runUnattended(m_dir.path(), labPath(), {"trusts", "CORPDC", path("run.txt")});
  EXPECT_EQ(run.exitCode, 0) << run.standardError;
  EXPECT_EQ(contents(path("run.txt")), window);

  // Performance exports its walk, a line per resource with its figures, as
  // the unattended run writes it.
  m_window->selectTab(6);
  ASSERT_EQ(m_window->currentDisplayType(), DisplayType::Performance);
  m_window->command(kIdBrowse);
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_GT(m_window->treeView(DisplayType::Performance)->topLevelItemCount(), 0);
  const std::string performance = exported("performance.txt");
  EXPECT_TRUE(performance.starts_with("root")) << performance;
  EXPECT_NE(performance.find("\\\\"), std::string::npos) << performance;
  const apptest::RunResult walked = apptest::runUnattended(
      m_dir.path(), labPath(), {"performance", "CORPDC", path("walked.txt")});
  EXPECT_EQ(walked.exitCode, 0) << walked.standardError;
  EXPECT_EQ(contents(path("walked.txt")), performance);
  EXPECT_TRUE(m_messages->shown().empty());
}

TEST_F(TrustsTab, AControllerThatDoesNotAnswerIsSaidAndNothingIsWritten) {
  ASSERT_TRUE(makeWindow());
  m_window->selectTab(7);
  m_window->command(kIdBrowse);
  ASSERT_EQ(m_window->listView(DisplayType::Trusts)->model()->rowCount(), 5);

  // OLDNT's controller is down: the list empties, the refusal is told once
  // and stays in the status bar.
  m_window->serverCombo()->addItem("\\\\OLDDC");
  m_window->serverCombo()->setCurrentText("\\\\OLDDC");
  m_window->command(kIdBrowse);
  EXPECT_FALSE(m_window->browsing());
  ASSERT_EQ(m_messages->shown().size(), 1u);
  const std::string told = m_messages->shown()[0].text;
  EXPECT_NE(told.find("could not be read"), std::string::npos) << told;
  EXPECT_NE(told.find("Error number : 53"), std::string::npos) << told;
  EXPECT_EQ(m_window->listView(DisplayType::Trusts)->model()->rowCount(), 0);
  EXPECT_NE(m_window->statusText(0).toStdString().find("could not be read"), std::string::npos);

  // Unattended: one line on standard error, and the file is left alone.
  QFile old(path("kept.txt"));
  ASSERT_TRUE(old.open(QIODevice::WriteOnly));
  old.write("before");
  old.close();
  const apptest::RunResult run =
      apptest::runUnattended(m_dir.path(), labPath(), {"trusts", "OLDDC", path("kept.txt")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_NE(run.standardError.find("Error number : 53"), std::string::npos) << run.standardError;
  EXPECT_EQ(contents(path("kept.txt")), "before");
}

}  // namespace
