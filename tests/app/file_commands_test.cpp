// The File menu's export and clipboard commands reach the current display.

#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

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

  m_window->command(kIdCopyToClipboard);
  const QString copied = QGuiApplication::clipboard()->text();
  EXPECT_TRUE(copied.startsWith("UserName\tFull Name\t"));
  EXPECT_EQ(copied.count("\r\n"), 4);
  EXPECT_TRUE(m_messages->shown().empty());
}

}  // namespace
