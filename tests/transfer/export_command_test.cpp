#include <gtest/gtest.h>

#include "../support/lab_fixture.h"
#include "platform/lab/lab.h"
#include "resources/strings.h"
#include "transfer/export_display.h"
#include "transfer_test_support.h"
#include "ui/scripted_file_chooser.h"

namespace transfer {
namespace {

using display::DisplayType;
using namespace transfer_test;

class ExportCommandTest : public ::testing::Test {
 protected:
  ExportCommandTest() { showGroups(m_host, kGroups); }
  std::string path(const char* name) const { return m_dir.filePath(name).toStdString(); }
  std::vector<std::string> shownTexts() const {
    std::vector<std::string> texts;
    for (const ui::Message& m : m_host.scripted.shown()) texts.push_back(m.text);
    return texts;
  }
  std::vector<platform::EventRecord> events() const {
    return m_lab->eventLog(m_lab->localMachine());
  }

  display_test::RecordingHost m_host;
  ui::ScriptedFileChooser m_chooser;
  QTemporaryDir m_dir;
  lab::test::LabFixture m_lab{lab::generateLab({.users = 3, .groups = 1, .localGroups = 1,
                                                .servers = 1, .domainControllers = 1,
                                                .membersPerGroup = 1})};
};

TEST_F(ExportCommandTest, SaveDialogOffersTheThreeFiltersFromTheSetting) {
  m_host.current = DisplayType::Groups;
  m_host.settings.x_export_type = 1;
  EXPECT_FALSE(exportCommand(m_host, m_chooser).has_value());  // cancelled
  const auto shown = m_chooser.shown();
  ASSERT_EQ(shown.size(), 1u);
  EXPECT_EQ(shown[0].kind, ui::ScriptedFileChooser::Kind::Save);
  const ui::FileRequest& request = shown[0].request;
  ASSERT_EQ(request.filters.size(), 3u);
  EXPECT_EQ(request.filters[0].name, "Tab delimited");
  EXPECT_EQ(request.filters[0].patterns, std::vector<std::string>{"*.txt"});
  EXPECT_EQ(request.filters[1].name, "CSV");
  EXPECT_EQ(request.filters[1].patterns, std::vector<std::string>{"*.csv"});
  EXPECT_EQ(request.filters[2].name, "SQLite database");
  EXPECT_EQ(request.filters[2].patterns, std::vector<std::string>{"*.db"});
  EXPECT_EQ(request.initialFilter, 1);
  EXPECT_EQ(request.defaultExtension, "TXT");
  EXPECT_TRUE(request.askBeforeOverwrite);
  EXPECT_TRUE(m_host.scripted.shown().empty());
  EXPECT_TRUE(filesIn(m_dir).isEmpty());
}

TEST_F(ExportCommandTest, WriterFollowsTheFilterSelectedWhenTheUserConfirmed) {
  m_host.current = DisplayType::Groups;
  m_host.settings.x_export_type = 1;  // CSV selected at first
  m_chooser.queueAnswer(path("plain"));          // CSV still selected: gets ".csv"
  m_chooser.queueAnswer(path("named.csv"), 0);   // tab filter chosen: its writer
  m_chooser.queueAnswer(path("other.log"), 2);   // database filter chosen
  m_chooser.queueAnswer(path("base"), 2);        // database filter chosen: gets ".db"
  m_chooser.queueAnswer(path("tabbed"), 0);      // tab filter chosen: gets ".txt"
  for (int i = 0; i < 5; ++i) ASSERT_TRUE(exportCommand(m_host, m_chooser)->ok());
  EXPECT_TRUE(readFile(path("plain.csv")).starts_with("GroupName,Comment,"));
  EXPECT_TRUE(readFile(path("base.db")).starts_with("SQLite format 3"));
  EXPECT_TRUE(readFile(path("tabbed.txt")).starts_with("GroupName\tComment\t"));
  EXPECT_TRUE(readFile(path("named.csv")).starts_with("GroupName\tComment\t"));
  EXPECT_TRUE(readFile(path("other.log")).starts_with("SQLite format 3"));
  EXPECT_TRUE(m_host.scripted.shown().empty());  // no success message
}

// The dialog opens where the user last saved, on the format last chosen
// (the setting's format only until then), and a cancel forgets nothing.
TEST_F(ExportCommandTest, SaveDialogOpensOnTheLastFolderAndFormatUsed) {
  m_host.current = DisplayType::Groups;
  m_host.settings.x_export_type = 0;
  settings::RememberedChoices remembered;
  m_chooser.queueAnswer(path("first"), 2);  // the database filter
  ASSERT_TRUE(exportCommand(m_host, m_chooser, &remembered)->ok());
  EXPECT_EQ(remembered.exportFolder, m_dir.path().toStdString());
  EXPECT_EQ(remembered.exportFilter, std::optional<settings::Word>(2));

  EXPECT_FALSE(exportCommand(m_host, m_chooser, &remembered).has_value());  // cancelled
  const auto shown = m_chooser.shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].request.initialFilter, 0);
  EXPECT_EQ(shown[0].request.initialPath, "");
  EXPECT_EQ(shown[1].request.initialFilter, 2);
  EXPECT_EQ(shown[1].request.initialPath, m_dir.path().toStdString());
  EXPECT_EQ(remembered.exportFilter, std::optional<settings::Word>(2));

  // A folder that refused the export is not offered next time.
  m_chooser.queueAnswer(path("missing/out"), 0);
  m_host.scripted.queueAnswer(ui::Answer::Ok);
  m_host.scripted.queueAnswer(ui::Answer::Ok);
  EXPECT_FALSE(exportCommand(m_host, m_chooser, &remembered)->ok());
  EXPECT_EQ(remembered.exportFolder, m_dir.path().toStdString());
  EXPECT_EQ(remembered.exportFilter, std::optional<settings::Word>(2));
}

TEST_F(ExportCommandTest, FileThatCannotBeCreatedShowsTheMessageThenTheNameAndTheReason) {
  m_host.current = DisplayType::Groups;
  const std::string target = path("missing/out.txt");
  m_chooser.queueAnswer(target);
  EXPECT_EQ(exportCommand(m_host, m_chooser)->error, ExportError::CannotCreateFile);
  const auto shown = m_host.scripted.shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "An error ocurred while attempting to open file.\nFile already in use?");
  EXPECT_TRUE(shown[1].text.starts_with(target + "\n")) << shown[1].text;
  EXPECT_NE(shown[1].text.find("No such file or directory"), std::string::npos) << shown[1].text;
  EXPECT_EQ(shown[0].caption, res::programTitle());
  EXPECT_EQ(shown[1].caption, res::programTitle());
  EXPECT_TRUE(events().empty());  // only the unattended run reports events
}

TEST_F(ExportCommandTest, NetworkToDatabaseIsRefused) {
  m_host.current = DisplayType::Network;
  m_chooser.queueAnswer(path("net.db"), 2);  // the database filter
  EXPECT_EQ(exportCommand(m_host, m_chooser)->error, ExportError::NotSupported);
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Export of this display type is not supported."});
  EXPECT_TRUE(filesIn(m_dir).isEmpty());
}

TEST_F(ExportCommandTest, AutomaticExportWritesInTheSettingsFormatWithoutAsking) {
  m_host.current = DisplayType::Groups;
  m_host.settings.x_export_type = 2;
  const AutomaticExportOutcome outcome = automaticExport(m_host, path("auto.txt"));
  EXPECT_TRUE(outcome.result.ok());
  EXPECT_TRUE(outcome.closeWindow);
  EXPECT_TRUE(readFile(path("auto.txt")).starts_with("SQLite format 3"));
  EXPECT_TRUE(m_chooser.shown().empty());
  EXPECT_TRUE(events().empty());
}

TEST_F(ExportCommandTest, AutomaticExportFailureGoesToTheEventLogNotAMessage) {
  m_host.current = DisplayType::Groups;
  const AutomaticExportOutcome outcome = automaticExport(m_host, path("missing/auto.txt"));
  EXPECT_EQ(outcome.result.error, ExportError::CannotCreateFile);
  EXPECT_TRUE(outcome.closeWindow);
  EXPECT_TRUE(m_host.scripted.shown().empty());
  const auto log = events();
  ASSERT_EQ(log.size(), 1u);
  EXPECT_EQ(log[0].source, "Veltrane");
  EXPECT_EQ(log[0].eventId, 59288u);
  EXPECT_EQ(log[0].type, platform::EVENTLOG_INFORMATION_TYPE);
  EXPECT_EQ(log[0].strings, std::vector<std::string>{"BAD command line options:   "});
}

TEST_F(ExportCommandTest, AutomaticNetworkDatabaseExportKeepsTheWindowOpen) {
  m_host.current = DisplayType::Network;
  m_host.settings.x_export_type = 2;
  const AutomaticExportOutcome outcome = automaticExport(m_host, path("net.db"));
  EXPECT_EQ(outcome.result.error, ExportError::NotSupported);
  EXPECT_FALSE(outcome.closeWindow);
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Export of this display type is not supported."});
  EXPECT_TRUE(events().empty());
}

}  // namespace
}  // namespace transfer
