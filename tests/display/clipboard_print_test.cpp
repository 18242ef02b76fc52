#include <gtest/gtest.h>

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPrinter>
#include <QRegularExpression>
#include <QTableView>
#include <QTemporaryDir>

#include "display/clipboard_copy.h"
#include "display/print_display.h"
#include "content_model.h"
#include "record_builders.h"
#include "recording_host.h"

namespace display {
namespace {

std::vector<std::string> split(const std::string& text, const std::string& by) {
  std::vector<std::string> parts;
  std::size_t start = 0;
  for (std::size_t at; (at = text.find(by, start)) != std::string::npos; start = at + by.size())
    parts.push_back(text.substr(start, at - start));
  parts.push_back(text.substr(start));
  return parts;
}

std::string clipboardNow() { return QGuiApplication::clipboard()->text().toStdString(); }

class ClipboardPrintTest : public ::testing::Test {
 protected:
  session::UsersContent& showUsers(const std::vector<display_test::UserRow>& users) {
    QTableView* view = m_host.listView(DisplayType::Users);
    display_test::ContentModel<session::UsersContent> shown({}, view);
    shown.adopt(display_test::userHolder(users));
    view->setModel(shown.model);
    return *shown.content;
  }
  std::vector<display_test::UserRow> manyUsers(int count) {
    std::vector<display_test::UserRow> users;
    for (int i = 0; i < count; ++i) users.push_back({"user" + std::to_string(i)});
    return users;
  }

  display_test::RecordingHost m_host;
};

TEST_F(ClipboardPrintTest, UsersCopyHasEveryColumnIncludingHiddenOnes) {
  showUsers({{"alice"}, {"bob", "Yes"}});
  QTableView* view = m_host.listView(DisplayType::Users);
  for (int c : {1, 5, 19, 20, 21}) view->setColumnHidden(c, true);

  ASSERT_TRUE(copyToClipboard(m_host));
  const std::string text = clipboardNow();
  ASSERT_TRUE(text.ends_with("\r\n"));
  const auto lines = split(text.substr(0, text.size() - 2), "\r\n");
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& line : lines) EXPECT_EQ(split(line, "\t").size(), 22u) << line;
  EXPECT_TRUE(lines[0].starts_with("UserName\tFull Name\tLogons\t"));
  EXPECT_TRUE(lines[0].ends_with("\tRAS\tCallback#\tRAS type"));
  const auto bob = split(lines[2], "\t");
  EXPECT_EQ(bob[0], "bob");
  EXPECT_EQ(bob[1], "bob Full");
  EXPECT_EQ(bob[5], "Yes");
  EXPECT_EQ(bob[14], "");  // empty cells stay in place
  EXPECT_EQ(bob[21], "User defined");
}

// A tab or line break inside a cell would split the pasted row: each is
// copied as a space.
TEST_F(ClipboardPrintTest, CopyFollowsSortAndFilterAndWritesTabsAndLineBreaksInCellsAsSpaces) {
  showUsers({{"alice"}, {"bob"}, {"carol\tx\r\ny"}});
  ContentTableModel& model = *contentModelOf(*m_host.listView(DisplayType::Users));
  static_cast<session::UsersContent&>(model.content()).list().setRowOrder({2, 1, 0});
  model.reset();
  m_host.listView(DisplayType::Users)->setRowHidden(1, true);  // bob filtered out
  ASSERT_TRUE(copyToClipboard(m_host));
  const auto lines = split(clipboardNow(), "\r\n");
  ASSERT_EQ(lines.size(), 4u);  // header, two rows, the empty rest after the last CR LF
  EXPECT_TRUE(lines[1].starts_with("carol x  y\tcarol x  y Full\t")) << lines[1];
  EXPECT_TRUE(lines[2].starts_with("alice\t"));
}

TEST_F(ClipboardPrintTest, NetworkIsRefusedAndTheClipboardLeftEmpty) {
  QGuiApplication::clipboard()->setText("before");
  m_host.current = DisplayType::Network;
  EXPECT_FALSE(copyToClipboard(m_host));
  EXPECT_TRUE(QGuiApplication::clipboard()->text().isEmpty());
  const auto shown = m_host.scripted.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].text, "Export of this display type is not supported.");

  m_host.current = DisplayType::Performance;  // no list: nothing, silently
  EXPECT_FALSE(copyToClipboard(m_host));
  EXPECT_EQ(m_host.scripted.shown().size(), 1u);
}

// Prints to A4 with 10 mm margins: 277 mm of height, 97 rows a page.
class A4PdfChooser final : public PrintChooser {
 public:
  explicit A4PdfChooser(QString path) : m_pdf(std::move(path)) {}
  bool choose(QPrinter& printer) override {
    ++calls;
    documentName = printer.docName();
    m_pdf.choose(printer);
    printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                      QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    return true;
  }
  int calls = 0;
  QString documentName;

 private:
  PdfPrintChooser m_pdf;
};

int pdfPageCount(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return -1;
  const QString text = QString::fromLatin1(file.readAll());
  return static_cast<int>(text.count(QRegularExpression("/Type\\s*/Page(?!s)")));
}

TEST_F(ClipboardPrintTest, PrintUsesAsManyPagesAsTheRowsNeed) {
  QTemporaryDir dir;
  struct Row {
    int users;
    int pages;
  };
  for (const Row& row : {Row{0, 1}, Row{97, 1}, Row{98, 2}, Row{250, 3}}) {
    showUsers(manyUsers(row.users));
    // Few enough columns for one page across.
    for (int c = 5; c < kUsersColumnCount; ++c)
      m_host.listView(DisplayType::Users)->setColumnHidden(c, true);
    const QString pdf = dir.filePath(QString("users%1.pdf").arg(row.users));
    A4PdfChooser chooser(pdf);
    ASSERT_TRUE(printDisplay(m_host, chooser)) << row.users;
    EXPECT_EQ(chooser.documentName, "Veltrane output");
    EXPECT_EQ(pdfPageCount(pdf), row.pages) << row.users;
  }
}

// Prints into a PDF file on A4 in whatever orientation the print set up.
class OrientationRecorder final : public PrintChooser {
 public:
  explicit OrientationRecorder(QString path) : m_pdf(std::move(path)) {}
  bool choose(QPrinter& printer) override {
    orientation = printer.pageLayout().orientation();
    return m_pdf.choose(printer);
  }
  QPageLayout::Orientation orientation = QPageLayout::Portrait;

 private:
  PdfPrintChooser m_pdf;
};

TEST(ColumnBands, EveryColumnIsPrintedAndLaterBandsRepeatTheFirst) {
  // Page 1000 units wide, the first column at 80.
  EXPECT_EQ(columnBands({300, 300, 300}, 1000),
            (std::vector<std::vector<std::size_t>>{{0, 1, 2}}));
  EXPECT_EQ(columnBands({300, 300, 300, 300, 300}, 1000),
            (std::vector<std::vector<std::size_t>>{{0, 1, 2}, {0, 3, 4}}));
  // A column wider than the page stands alone; the first is not repeated
  // where nothing would fit beside it.
  EXPECT_EQ(columnBands({300, 2000, 300}, 1000),
            (std::vector<std::vector<std::size_t>>{{0}, {1}, {0, 2}}));
  EXPECT_EQ(columnBands({}, 1000), (std::vector<std::vector<std::size_t>>{{}}));
}

// A Users list is far wider than a portrait page: it is offered in
// landscape, and what still does not fit goes onto further pages across,
// never lost.
TEST_F(ClipboardPrintTest, AWideListPrintsInLandscapeWithEveryColumnOnSomePage) {
  QTemporaryDir dir;
  showUsers(manyUsers(10));
  QTableView* view = m_host.listView(DisplayType::Users);
  for (int c = 0; c < kUsersColumnCount; ++c) view->setColumnWidth(c, 100);
  const QString pdf = dir.filePath("wide.pdf");
  OrientationRecorder chooser(pdf);
  const PrintResult printed = printDisplay(m_host, chooser);
  EXPECT_EQ(chooser.orientation, QPageLayout::Landscape);
  ASSERT_TRUE(printed);
  // 22 columns of 400 units on a landscape page: more than one page across.
  EXPECT_GE(printed.pages, 2);
  EXPECT_EQ(pdfPageCount(pdf), printed.pages);
  EXPECT_EQ(printedNote(printed), "Printed " + std::to_string(printed.pages) + " pages");

  // The same list forced onto portrait pages: more pages across, same rows.
  A4PdfChooser portrait(dir.filePath("portrait.pdf"));
  EXPECT_GT(printDisplay(m_host, portrait).pages, printed.pages);
}

TEST_F(ClipboardPrintTest, ALongPrintReportsItsProgressAndCanBeCancelled) {
  QTemporaryDir dir;
  showUsers(manyUsers(300));  // four pages on A4 portrait, one column band
  for (int c = 5; c < kUsersColumnCount; ++c)
    m_host.listView(DisplayType::Users)->setColumnHidden(c, true);
  QPrinter printer(QPrinter::HighResolution);
  A4PdfChooser(dir.filePath("all.pdf")).choose(printer);
  std::vector<std::pair<int, int>> reported;
  bool cancelled = true;
  EXPECT_EQ(printList(*m_host.listView(DisplayType::Users), printer,
                      [&](int done, int total) {
                        reported.emplace_back(done, total);
                        return true;
                      },
                      &cancelled),
            4);
  EXPECT_FALSE(cancelled);
  EXPECT_EQ(reported, (std::vector<std::pair<int, int>>{{1, 4}, {2, 4}, {3, 4}, {4, 4}}));

  EXPECT_EQ(pdfPageCount(dir.filePath("all.pdf")), 4);

  // A cancelled print to a file leaves the file that was there, not a part
  // of the list that looks whole, and no temporary file beside it.
  {
    QFile old(dir.filePath("cut.pdf"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("the earlier print");
  }
  QPrinter second(QPrinter::HighResolution);
  A4PdfChooser(dir.filePath("cut.pdf")).choose(second);
  int calls = 0;
  EXPECT_EQ(printList(*m_host.listView(DisplayType::Users), second,
                      [&](int, int) { return ++calls < 2; }, &cancelled),
            0);
  EXPECT_TRUE(cancelled);
  EXPECT_EQ(calls, 2);
  QFile cut(dir.filePath("cut.pdf"));
  ASSERT_TRUE(cut.open(QIODevice::ReadOnly));
  EXPECT_EQ(cut.readAll(), "the earlier print");
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 2);  // all.pdf and cut.pdf
  EXPECT_EQ(printedNote(PrintResult{0, true}), "Printing cancelled");
}

TEST_F(ClipboardPrintTest, PrintOfNetworkIsRefusedBeforeAnyDialog) {
  m_host.current = DisplayType::Network;
  QTemporaryDir dir;
  A4PdfChooser chooser(dir.filePath("net.pdf"));
  EXPECT_FALSE(printDisplay(m_host, chooser));
  EXPECT_EQ(chooser.calls, 0);
  ASSERT_EQ(m_host.scripted.shown().size(), 1u);
  EXPECT_EQ(m_host.scripted.shown()[0].text, "Export of this display type is not supported.");
}

}  // namespace
}  // namespace display
