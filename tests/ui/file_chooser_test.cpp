#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>

#include "ui/qt_file_chooser.h"
#include "ui/scripted_dialog_runner.h"
#include "ui/scripted_file_chooser.h"
#include "qt_app.h"

namespace {

struct ExtensionRow {
  const char* path;
  const char* extension;
  const char* expected;
};

class DefaultExtension : public ::testing::TestWithParam<ExtensionRow> {};

TEST_P(DefaultExtension, IsAppendedOnlyToANameWithoutOne) {
  const ExtensionRow& row = GetParam();
  ui::FileRequest request;
  request.defaultExtension = row.extension;
  EXPECT_EQ(ui::withDefaultExtension(row.path, request), row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, DefaultExtension,
    ::testing::Values(ExtensionRow{"/tmp/users", "txt", "/tmp/users.txt"},
                      ExtensionRow{"/tmp/users.csv", "txt", "/tmp/users.csv"},
                      ExtensionRow{"/tmp/my.dir/users", "txt", "/tmp/my.dir/users.txt"},
                      ExtensionRow{"/tmp/users", "", "/tmp/users"},
                      ExtensionRow{"", "txt", ""}));

// A name typed without an extension gets the selected filter's, so a CSV
// export is never saved as ".TXT".
TEST(DefaultExtension, FollowsTheSelectedFilter) {
  ui::FileRequest request;
  request.filters = {{"Tab delimited", {"*.txt"}}, {"CSV", {"*.csv"}}, {"All files", {"*"}}};
  request.defaultExtension = "TXT";
  EXPECT_EQ(ui::withDefaultExtension("/tmp/users", request, 1), "/tmp/users.csv");
  EXPECT_EQ(ui::withDefaultExtension("/tmp/users", request, 0), "/tmp/users.txt");
  EXPECT_EQ(ui::withDefaultExtension("/tmp/users.log", request, 1), "/tmp/users.log");
  // A filter that names no extension leaves the request's default.
  EXPECT_EQ(ui::withDefaultExtension("/tmp/users", request, 2), "/tmp/users.TXT");
  EXPECT_EQ(ui::withDefaultExtension("/tmp/users", request, 7), "/tmp/users.TXT");
}

// The real dialog: the user switches to CSV and types a bare name; the file
// chosen ends in ".csv", not in the request's default "TXT".
TEST(QtFileChooser, ATypedNameGetsTheExtensionOfTheFilterTheUserSwitchedTo) {
  testApp();
  QTemporaryDir dir;
  ui::FileRequest request;
  request.filters = {{"Tab delimited", {"*.txt"}}, {"CSV", {"*.csv"}}, {"SQLite database", {"*.db"}}};
  request.defaultExtension = "TXT";
  request.initialPath = dir.path().toStdString();
  bool driven = false;
  QTimer::singleShot(0, [&] {
    auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
    if (!dialog) return;
    auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
    auto* name = dialog->findChild<QLineEdit*>("fileNameEdit");
    if (!types || !name) return dialog->reject();
    types->setCurrentIndex(1);
    // What a click on the CSV filter emits.
    emit types->activated(1);
    emit types->textActivated(types->itemText(1));
    name->setText("users");
    driven = true;
    static_cast<QDialog*>(dialog)->accept();  // its own accept() runs: the Save button
  });
  ui::QtFileChooser chooser;
  const auto choice = chooser.saveChoice(request);
  ASSERT_TRUE(driven);
  ASSERT_TRUE(choice.has_value());
  EXPECT_EQ(choice->filter, 1);
  EXPECT_EQ(choice->path, dir.filePath("users.csv").toStdString());
}

TEST(QtFileChooser, NameFiltersListEveryPattern) {
  ui::FileRequest request;
  request.filters = {{"Text files", {"*.txt", "*.tab"}}, {"All files", {"*"}}};
  EXPECT_EQ(ui::QtFileChooser::nameFilters(request),
            QStringList({"Text files (*.txt *.tab)", "All files (*)"}));
}

TEST(ScriptedFileChooser, RecordsRequestsAndAnswersLikeTheRealChooser) {
  ui::ScriptedFileChooser chooser;
  ui::FileRequest request;
  request.title = "Export";
  request.defaultExtension = "txt";
  chooser.queueAnswer("/tmp/out");
  chooser.queueAnswer(std::nullopt);
  EXPECT_EQ(chooser.save(request), std::optional<std::string>("/tmp/out.txt"));
  EXPECT_EQ(chooser.open(request), std::nullopt);
  EXPECT_EQ(chooser.open(request), std::nullopt);  // script exhausted: cancelled
  ASSERT_EQ(chooser.shown().size(), 3u);
  EXPECT_EQ(chooser.shown()[0].kind, ui::ScriptedFileChooser::Kind::Save);
  EXPECT_EQ(chooser.shown()[0].request.title, "Export");
}

TEST(ScriptedDialogRunner, StepsWorkTheDialogAndUnscriptedDialogsAreRejected) {
  testApp();
  ui::ScriptedDialogRunner runner;
  QDialog dialog;
  dialog.setObjectName("CEnterName");
  dialog.setWindowTitle("Enter new name");
  runner.queueStep([](QDialog& d) {
    d.setProperty("touched", true);
    return int(QDialog::Accepted);
  });
  EXPECT_EQ(runner.run(dialog), QDialog::Accepted);
  EXPECT_TRUE(dialog.property("touched").toBool());
  EXPECT_EQ(runner.run(dialog), QDialog::Rejected);
  ASSERT_EQ(runner.shown().size(), 2u);
  EXPECT_EQ(runner.shown()[0].objectName, "CEnterName");
  EXPECT_EQ(runner.shown()[0].title, "Enter new name");
}

}  // namespace
