// File > Import in the window: the wizard's pages, the question after a
// failed record, the summary, and the Users list showing the new account.

#include <QClipboard>
#include <QGuiApplication>
#include <QLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTemporaryDir>

#include <fstream>

#include "app_test_support.h"
#include "session/display_traits.h"
#include "transfer/import_dialog.h"
#include "transfer/import_preview_dialog.h"
#include "transfer/import_progress_dialog.h"
#include "transfer/import_summary_dialog.h"
#include "window/command_ids.h"

namespace {

using apptest::waitUntil;
using apptest::WindowTest;
using display::DisplayType;

std::vector<QString> firstColumn(const QTableView& view) {
  std::vector<QString> names;
  for (int r = 0; r < view.model()->rowCount(); ++r)
    names.push_back(view.model()->index(r, 0).data().toString());
  return names;
}

TEST_F(WindowTest, ImportWizardAppliesTheFileAsksAfterAFailureAndTheListShowsTheChange) {
  ASSERT_TRUE(makeWindow());
  m_window->selectTab(display::traitsOf(DisplayType::Users).tab);
  m_window->command(window::kIdBrowse);
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));

  QTemporaryDir dir;
  const std::string path = dir.filePath("staff.txt").toStdString();
  std::ofstream(path, std::ios::binary)
      << "UserName\tPassword\tFull Name\r\nzoe\tpw-zoe-1\tZoe Zimmer\r\n"
      << std::string(30, 'n') << "\tpw-long\tToo long a name\r\nalice\tpw\tAlice Again\r\n";
  m_files->queueAnswer(path);
  m_messages->queueAnswer(ui::Answer::Ok);   // the failed record's message
  m_messages->queueAnswer(ui::Answer::Yes);  // go on

  QString counts, failures;
  m_dialogs->queueStep([&](QDialog& d) {
    auto& wizard = dynamic_cast<transfer::ImportDialog&>(d);
    EXPECT_EQ(wizard.windowTitle(), "Import from file to \\\\PDC");
    EXPECT_TRUE(wizard.onlyAddNew()->isChecked());
    EXPECT_FALSE(wizard.nextButton()->isEnabled());
    EXPECT_FALSE(wizard.finishButton()->isEnabled());
    wizard.browse();
    EXPECT_EQ(wizard.pathEdit()->text().toStdString(), path);
    EXPECT_TRUE(wizard.nextButton()->isEnabled());
    wizard.next();
    EXPECT_TRUE(wizard.backButton()->isEnabled());
    EXPECT_TRUE(wizard.finishButton()->isEnabled());
    EXPECT_EQ(wizard.preview()->model()->rowCount(), 3);
    EXPECT_EQ(wizard.preview()->model()->headerData(2, Qt::Horizontal).toString(), "Full Name");
    EXPECT_EQ(wizard.preview()->model()->index(0, 2).data().toString(), "Zoe Zimmer");
    EXPECT_EQ(wizard.preview()->model()->index(0, 1).data().toString(), "********");
    // Back and Next again: the same preview.
    wizard.back();
    EXPECT_EQ(wizard.preview()->model()->rowCount(), 0);
    EXPECT_FALSE(wizard.finishButton()->isEnabled());
    wizard.next();
    wizard.finish();
    return wizard.result();
  });
  m_dialogs->queueStep([&](QDialog& d) {
    auto& summary = dynamic_cast<transfer::ImportSummaryDialog&>(d);
    counts = summary.countsText();
    failures = summary.failuresText();
    summary.copyToClipboard();
    return int(QDialog::Accepted);
  });
  m_window->command(window::kIdImport);

  ASSERT_EQ(m_messages->shown().size(), 2u);
  EXPECT_EQ(m_messages->shown()[0].caption, "Import Error");
  EXPECT_EQ(m_messages->shown()[1].caption, "Import Failed");
  // The failed record was taken but not imported.
  EXPECT_EQ(counts, "Records imported: 2 of 3\nUsers: 1 added, 0 updated, 1 left unchanged, 1 failed");
  EXPECT_EQ(failures, "Line 3: " + QString(30, 'n') + ": Error code #87. Server Name: \\\\PDC UserName: " +
                          QString(30, 'n'));
  EXPECT_TRUE(QGuiApplication::clipboard()->text().contains(failures));

  // The Users list browses again and shows the new account.
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  auto* view = qobject_cast<QTableView*>(
      m_window->resultControl(display::traitsOf(DisplayType::Users).listControl));
  ASSERT_NE(view, nullptr);
  const auto names = firstColumn(*view);
  EXPECT_NE(std::find(names.begin(), names.end(), QString("zoe")), names.end());
}

TEST_F(WindowTest, ImportWizardRefusesAFileItCannotUseAndStaysOnItsFirstPage) {
  ASSERT_TRUE(makeWindow());
  QTemporaryDir dir;
  const std::string path = dir.filePath("ragged.txt").toStdString();
  std::ofstream(path, std::ios::binary) << "UserName\tPassword\nzoe\n";
  const std::string before = m_lab->toJson();
  m_dialogs->queueStep([&](QDialog& d) {
    auto& wizard = dynamic_cast<transfer::ImportDialog&>(d);
    wizard.pathEdit()->setText(QString::fromStdString(path));
    EXPECT_TRUE(wizard.nextButton()->isEnabled());
    wizard.next();
    EXPECT_FALSE(wizard.finishButton()->isEnabled());
    EXPECT_TRUE(wizard.nextButton()->isEnabled());
    EXPECT_FALSE(wizard.summary().has_value());
    return int(QDialog::Rejected);
  });
  m_window->command(window::kIdImport);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text,
            "Line 2 of the import file has 1 cell where the header has 2 columns.");
  EXPECT_EQ(m_lab->toJson(), before);
}

TEST_F(WindowTest, PreviewChangesAfterTheWizardsButtonsListsEachRecordAndWritesNothing) {
  ASSERT_TRUE(makeWindow());
  QTemporaryDir dir;
  const std::string path = dir.filePath("staff.txt").toStdString();
  std::ofstream(path, std::ios::binary)
      << "UserName\tPassword\tFull Name\r\nzoe\tpw-zoe-1\tZoe Zimmer\r\n"
      << "alice\t\tAlice Again\r\nbad/name\tpw-bad\tBad\r\n";
  const std::string before = m_lab->toJson();
  std::vector<std::vector<QString>> rows;
  QString counts;
  m_dialogs->queueStep([&](QDialog& d) {
    auto& wizard = dynamic_cast<transfer::ImportDialog&>(d);
    // The wizard's own buttons keep their order; the new one comes after.
    wizard.layout()->activate();
    QPushButton* cancel = nullptr;
    for (QPushButton* b : wizard.findChildren<QPushButton*>())
      if (b->text() == "&Cancel") cancel = b;
    if (!cancel) {
      ADD_FAILURE() << "no Cancel button";
      return int(QDialog::Rejected);
    }
    const std::vector<QPushButton*> order{wizard.backButton(), wizard.nextButton(),
                                          wizard.finishButton(), cancel,
                                          wizard.previewChangesButton()};
    for (std::size_t i = 1; i < order.size(); ++i)
      EXPECT_LT(order[i - 1]->x(), order[i]->x()) << order[i]->text().toStdString();
    EXPECT_EQ(wizard.previewChangesButton()->text(), "&Preview changes");
    EXPECT_FALSE(wizard.previewChangesButton()->isEnabled());
    wizard.pathEdit()->setText(QString::fromStdString(path));
    wizard.next();
    EXPECT_TRUE(wizard.previewChangesButton()->isEnabled());
    wizard.updateAll()->setChecked(true);
    wizard.previewChangesButton()->click();
    wizard.back();
    EXPECT_FALSE(wizard.previewChangesButton()->isEnabled());
    return int(QDialog::Rejected);
  });
  m_dialogs->queueStep([&](QDialog& d) {
    auto& preview = dynamic_cast<transfer::ImportPreviewDialog&>(d);
    const QAbstractItemModel& model = *preview.list()->model();
    for (int r = 0; r < model.rowCount(); ++r) {
      rows.emplace_back();
      for (int c = 0; c < model.columnCount(); ++c) rows.back().push_back(model.index(r, c).data().toString());
    }
    counts = preview.countsText();
    return int(QDialog::Rejected);
  });
  m_window->command(window::kIdImport);

  EXPECT_EQ(rows, (std::vector<std::vector<QString>>{
                      {"2", "zoe", "added", ""},
                      {"3", "alice", "updated", "full name"},
                      {"4", "bad/name", "would fail",
                       "the name holds one of \" / \\ [ ] : ; | = , + * ? < >"}}));
  EXPECT_EQ(counts, "Dry run: nothing was changed.\n"
                    "Records: 1 to add, 1 to update, 0 unchanged, 1 would fail");
  EXPECT_TRUE(m_messages->shown().empty());
  EXPECT_EQ(m_lab->toJson(), before);
}

// Cancel is taken between records: the next question after it says stop.
TEST(ImportProgressDialog, ShowsRecordsDoneOfTotalAndStopsAfterCancel) {
  apptest::testApp();
  transfer::ImportProgressDialog progress;
  EXPECT_TRUE(progress.recordsDone(0, 3));
  EXPECT_TRUE(progress.recordsDone(1, 3));
  EXPECT_EQ(progress.labelText(), "Records done: 1 of 3");
  EXPECT_EQ(progress.value(), 1);
  EXPECT_EQ(progress.maximum(), 3);
  progress.cancel();
  EXPECT_FALSE(progress.recordsDone(2, 3));
}

}  // namespace
