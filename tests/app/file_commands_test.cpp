// The File menu's export and clipboard commands reach the current display.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include "display/print_display.h"
#include "window/command_ids.h"
#include "app_test_support.h"

namespace {

using apptest::WindowTest;
using apptest::waitUntil;
using namespace app;
using namespace window;

TEST_F(WindowTest, ExportAndCopyToClipboardWriteTheBrowsedUsers) {
  ASSERT_TRUE(makeWindow());
  m_window->selectTab(5);
  m_window->command(kIdBrowse);
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));

  QTemporaryDir dir;
  const std::string target = dir.filePath("users.csv").toStdString();
  m_files->queueAnswer(target, 1);  // the CSV filter
  m_window->command(kIdExport);
  ASSERT_EQ(m_files->shown().size(), 1u);
  EXPECT_EQ(m_files->shown()[0].request.initialFilter, 0);  // x_export_type 0
  QFile file(QString::fromStdString(target));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray text = file.readAll();
  EXPECT_TRUE(text.startsWith("UserName,Full Name,"));
  EXPECT_EQ(text.count("\r\n"), 4);  // header and three accounts
  // No success box, but the status bar says where the file went.
  EXPECT_EQ(m_window->statusText(0).toStdString(), "Exported to " + target);

  m_window->command(kIdCopyToClipboard);
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith("UserName\tFull Name\t"));
  EXPECT_EQ(copied.count("\r\n"), 4);
  EXPECT_TRUE(m_messages->shown().empty());
}

// The toolbar's Export button is the menu's File > Export: greyed on the
// Network display, and a press that reaches it anyway writes nothing.
TEST_F(WindowTest, ToolbarExportFollowsTheMenusRuleOnNetwork) {
  ASSERT_TRUE(makeWindow());
  QAction* button = m_window->toolbarButton(2);
  ASSERT_NE(button, nullptr);
  ASSERT_EQ(button->data().toInt(), kIdExport);
  m_window->selectTab(2);  // Network
  EXPECT_FALSE(m_window->menuAction(kIdExport)->isEnabled());
  EXPECT_FALSE(button->isEnabled());
  m_files->queueAnswer("/tmp/never-written.txt");
  emit button->triggered();  // as a press that reached a stale button would
  EXPECT_TRUE(m_files->shown().empty());

  m_window->selectTab(5);  // Users
  EXPECT_TRUE(m_window->menuAction(kIdExport)->isEnabled());
  EXPECT_TRUE(button->isEnabled());
}

// Ctrl+P prints the shown list; the status bar says how it ended.
TEST_F(WindowTest, PrintSaysInTheStatusBarWhenItIsDone) {
  QTemporaryDir dir;
  const QString pdf = dir.filePath("users.pdf");
  app::Ports ports{m_messages, m_files, m_dialogs,
                   std::make_shared<display::PdfPrintChooser>(pdf)};
  m_window = std::make_unique<app::MainWindow>(ports, app::WindowOptions{false});
  ASSERT_TRUE(m_window->initialise());
  m_window->selectTab(5);
  m_window->command(kIdBrowse);
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  ASSERT_TRUE(apptest::pressShortcut(*m_window, QKeySequence(QKeySequence::Print)[0].toCombined()));
  EXPECT_TRUE(QFile::exists(pdf));
  EXPECT_TRUE(m_window->statusText(0).startsWith("Printed ")) << m_window->statusText(0).toStdString();
  EXPECT_TRUE(m_messages->shown().empty());
}

}  // namespace
