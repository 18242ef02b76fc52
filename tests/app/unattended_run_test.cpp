// The unattended browse-and-export, run as the real program in its own
// process without a display.

#include <gtest/gtest.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <string>

#include <sys/stat.h>

#include "../support/fifo_reader.h"
#include "app_test_support.h"
#include "session/display_traits.h"
#include "window/command_ids.h"
#include "unattended_process.h"
#include "platform/lab/file_paths.h"
#include "platform/lab/lab.h"
#include "platform/lab/model.h"

namespace {

using apptest::RunResult;

class UnattendedRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    // The run writes its settings into the lab file, so it gets a copy.
    ASSERT_TRUE(QFile::copy(VELTRANE_SOURCE_DIR "/tests/app/window-lab.json", labPath()));
    QFile::setPermissions(labPath(), QFile::ReadOwner | QFile::WriteOwner);
  }

  QString labPath() const { return m_dir.filePath("lab.json"); }
  QString path(const char* name) const { return m_dir.filePath(name); }

  RunResult run(const QStringList& words) {
    return apptest::runUnattended(m_dir.path(), labPath(), words);
  }

  static std::string contents(const QString& file) {
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll().toStdString();
  }

  QTemporaryDir m_dir;
};

TEST_F(UnattendedRunTest, ExportsTheBrowsedDisplayWithoutADisplayAndEndsWithSuccess) {
  const std::string lab = contents(labPath());
  const RunResult users = run({"users", "PDC", path("users.txt")});
  EXPECT_EQ(users.exitCode, 0) << users.standardError;
  EXPECT_EQ(users.standardError, "");
  EXPECT_EQ(contents(labPath()), lab) << "a run that changes nothing leaves the lab file alone";
  const std::string text = contents(path("users.txt"));
  EXPECT_TRUE(text.starts_with("UserName\tFull Name\tLogons\tLast Logon\t")) << text;
  EXPECT_NE(text.find("\r\nalice\tAlice Archer\t"), std::string::npos);
  EXPECT_NE(text.find("\r\nbob\tBob Baker\t"), std::string::npos);
  std::size_t lines = 0;
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2))
    ++lines;
  EXPECT_EQ(lines, 4u);  // the header and three accounts

  // Keywords are matched inside the word; the last one tested wins.
  const RunResult groups = run({"mygroups-now", "\\\\PDC", path("groups.txt")});
  EXPECT_EQ(groups.exitCode, 0) << groups.standardError;
  EXPECT_NE(contents(path("groups.txt")).find("\r\nStaff\tEveryone on the payroll"),
            std::string::npos);
}

// The run browses the server it was given: a machine whose own domain has
// no controller to find (and no name to fall back on) still exports it.
TEST_F(UnattendedRunTest, TheGivenServerIsBrowsedWithoutLookingForTheDomainsController) {
  QFile lab(labPath());
  ASSERT_TRUE(lab.open(QIODevice::ReadOnly));
  QByteArray text = lab.readAll();
  lab.close();
  text.replace(R"({"name": "WS1", "domain": "LAB", )",
               R"({"name": "WS1", "domain": "LAB", "refuse": {"NetGetDCName": 2453, "NetWkstaGetInfo": 5}, )");
  ASSERT_TRUE(text.contains("\"NetGetDCName\": 2453"));
  ASSERT_TRUE(lab.open(QIODevice::WriteOnly | QIODevice::Truncate));
  lab.write(text);
  lab.close();

  const RunResult users = run({"users", "PDC", path("users.txt")});
  EXPECT_EQ(users.exitCode, 0) << users.standardError;
  EXPECT_NE(contents(path("users.txt")).find("\r\nalice\tAlice Archer\t"), std::string::npos);
}

// The run builds no window: a platform plug-in that does not exist (Qt
// ends the process when it must load one) changes nothing, and the database
// export, whose SQL driver is a plug-in of Qt's core, still writes its table.
TEST_F(UnattendedRunTest, RunsWithoutAGuiPlatformAndWritesTheDatabaseFormat) {
  {
    // The logged-on administrator keeps "database" as the export format.
    QFile file(labPath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    QJsonObject lab = QJsonDocument::fromJson(file.readAll()).object();
    file.close();
    const QJsonObject format{{"name", "x_export_type"}, {"type", "REG_DWORD"}, {"data", 2}};
    const QJsonObject key{{"key", "Software\\Brisle Software\\Veltrane 2.20"},
                          {"values", QJsonArray{format}}};
    lab["userRegistries"] = QJsonObject{{lab["loggedOn"].toString(), QJsonArray{key}}};
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(QJsonDocument(lab).toJson());
  }
  QProcessEnvironment noPlatform;
  noPlatform.insert("QT_QPA_PLATFORM", "no-such-platform");
  noPlatform.insert("DISPLAY", ":99");
  const RunResult users = apptest::runProgram(
      m_dir.path(), {"--lab", labPath(), "users", "PDC", path("users.db")}, noPlatform);
  ASSERT_EQ(users.exitCode, 0) << users.standardError;
  EXPECT_EQ(users.standardError, "");
  {
    QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "unattended-read-back");
    db.setDatabaseName(path("users.db"));
    ASSERT_TRUE(db.open());
    QSqlQuery query("SELECT UserName, \"Full Name\" FROM Exp_Users ORDER BY UserName", db);
    std::vector<std::string> rows;
    while (query.next())
      rows.push_back(query.value(0).toString().toStdString() + "/" +
                     query.value(1).toString().toStdString());
    EXPECT_EQ(rows, (std::vector<std::string>{"Administrator/Built-in administrator", "alice/Alice Archer",
                                              "bob/Bob Baker"}));
  }
  QSqlDatabase::removeDatabase("unattended-read-back");

  // The Network display has no table: the run says so and fails.
  const RunResult network = apptest::runProgram(
      m_dir.path(), {"--lab", labPath(), "network", "PDC", path("net.db")}, noPlatform);
  EXPECT_EQ(network.exitCode, 1);
  EXPECT_NE(network.standardError.find("cannot be exported in the chosen format"),
            std::string::npos)
      << network.standardError;
}

TEST_F(UnattendedRunTest, AFileThatCannotBeCreatedIsReportedToTheEventLogAndFailsTheRun) {
  const RunResult r = run({"users", "PDC", path("missing/users.txt")});
  EXPECT_NE(r.exitCode, 0);
  EXPECT_NE(r.standardError.find("could not create"), std::string::npos) << r.standardError;
  EXPECT_EQ(std::count(r.standardError.begin(), r.standardError.end(), '\n'), 1);

  std::string error;
  auto lab = lab::loadLabFile(labPath().toStdString(), &error);
  ASSERT_TRUE(lab) << error;
  const auto events = lab->eventLog("WS1");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].source, "Veltrane");
  EXPECT_EQ(events[0].eventId, 59288u);
  EXPECT_EQ(events[0].strings, std::vector<std::string>{"BAD command line options:   "});
}

TEST_F(UnattendedRunTest, ABadRequestOrAFailedBrowseEndsWithFailure) {
  const RunResult keyword = run({"people", "PDC", path("x.txt")});
  EXPECT_EQ(keyword.exitCode, 2);
  EXPECT_NE(keyword.standardError.find("Unrecognised, incomplete or invalid command line options."),
            std::string::npos);
  const RunResult incomplete = run({"users", "PDC"});
  EXPECT_EQ(incomplete.exitCode, 2);

  // An unknown server: the browse reports its failure, the run says so.
  const RunResult unknown = run({"users", "NOSUCH", path("none.txt")});
  EXPECT_NE(unknown.exitCode, 0);
  EXPECT_FALSE(unknown.standardError.empty());
}

// A plain domain user is refused the detailed account read: the run must
// not pass that off as a domain without accounts.
TEST_F(UnattendedRunTest, ARefusedAccountReadFailsTheRunInOneLine) {
  QFile lab(labPath());
  ASSERT_TRUE(lab.open(QIODevice::ReadOnly));
  QByteArray text = lab.readAll();
  lab.close();
  text.replace("\"loggedOn\": \"LAB\\\\Administrator\"", "\"loggedOn\": \"LAB\\\\alice\"");
  ASSERT_TRUE(text.contains("LAB\\\\alice\""));
  ASSERT_TRUE(lab.open(QIODevice::WriteOnly | QIODevice::Truncate));
  lab.write(text);
  lab.close();

  const RunResult r = run({"users", "PDC", path("users.txt")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(std::count(r.standardError.begin(), r.standardError.end(), '\n'), 1) << r.standardError;
  EXPECT_TRUE(r.standardError.starts_with("veltrane: ")) << r.standardError;
  EXPECT_NE(r.standardError.find("Error number : 5"), std::string::npos) << r.standardError;
}

}  // namespace

namespace {

// Scripts read standard error line by line: a lab that cannot be loaded is
// one line that names the file and the problem, whatever the problem.
TEST_F(UnattendedRunTest, ALabThatCannotBeLoadedIsReportedInOneLine) {
  struct Case {
    const char* what;
    const char* refusedLab;  // a file of tests/labs/refused, or nullptr: no file at all
    const char* problem;
  };
  for (const Case& c : {Case{"missing", nullptr, "cannot open"},
                        Case{"malformed", "malformed.json", "malformed JSON"},
                        Case{"dangling member", "dangling-member.json", "no user"}}) {
    QFile::remove(labPath());
    if (c.refusedLab) {
      ASSERT_TRUE(QFile::copy(QString(VELTRANE_TEST_LABS "/refused/") + c.refusedLab, labPath()));
    }
    const RunResult r = run({"users", "PDC", path("users.txt")});
    EXPECT_EQ(r.exitCode, 1) << c.what;
    EXPECT_EQ(std::count(r.standardError.begin(), r.standardError.end(), '\n'), 1)
        << c.what << ": " << r.standardError;
    EXPECT_TRUE(r.standardError.starts_with("veltrane: the lab could not be loaded: ")) << c.what;
    EXPECT_NE(r.standardError.find(labPath().toStdString()), std::string::npos) << c.what;
    EXPECT_NE(r.standardError.find(c.problem), std::string::npos) << c.what;
    EXPECT_FALSE(QFile::exists(path("users.txt"))) << c.what;
  }
}


TEST_F(UnattendedRunTest, TheThreeFilesFormsExportWhatTheWalksFind) {
  QFile::remove(labPath());
  ASSERT_TRUE(QFile::copy(VELTRANE_SOURCE_DIR "/tests/labs/files-lab.json", labPath()));
  QFile::setPermissions(labPath(), QFile::ReadOwner | QFile::WriteOwner);

  // Storage per owner: one line per owner with the lab's own totals.
  const RunResult owners = run({"files0", "\\\\WKS", path("owners.txt"), "C:\\Data\\Gen"});
  EXPECT_EQ(owners.exitCode, 0) << owners.standardError;
  std::string error;
  auto lab = lab::labFromJson(contents(VELTRANE_SOURCE_DIR "/tests/labs/files-lab.json"), "files-lab", &error);
  ASSERT_TRUE(lab) << error;
  std::unordered_map<std::string, lab::OwnerTotal> truth;
  lab->read([&](const lab::Network& net) {
    platform::DWORD status = 0;
    ASSERT_TRUE(lab::ownerTotalsAt(net, "C:\\Data\\Gen", &truth, &status));
  });
  const std::string text = contents(path("owners.txt"));
  EXPECT_TRUE(text.starts_with("UserName\tFilesize in use\tNumber of files\tRAW filesize\r\n")) << text;
  std::uint64_t files = 0, lines = 0;
  for (const auto& [sid, total] : truth) {
    files += total.files;
    std::string cells = "\t";
    cells.append(std::to_string(total.files)).append("\t").append(std::to_string(total.bytes)).append("\r\n");
    EXPECT_NE(text.find(cells), std::string::npos) << sid;
  }
  for (std::size_t at = text.find("\r\n"); at != std::string::npos; at = text.find("\r\n", at + 2)) ++lines;
  EXPECT_EQ(lines, truth.size() + 1);
  EXPECT_GT(files, 0u);

  // The access tree exports as indented lines.
  const RunResult tree = run({"files1", "\\\\MEMBER", path("tree.txt"), "alice"});
  EXPECT_EQ(tree.exitCode, 0) << tree.standardError;
  EXPECT_NE(contents(path("tree.txt")).find("\r\n\t\t\t\\\\MEMBER\\Projects\r\n\t\t\t\tTeam   (RW)\r\n"),
            std::string::npos) << contents(path("tree.txt"));

  // A refused directory is a message, so the run fails in one line.
  const RunResult dump = run({"files2", "\\\\WKS", path("dump.txt"), "C:\\"});
  EXPECT_EQ(dump.exitCode, 1);
  EXPECT_EQ(std::count(dump.standardError.begin(), dump.standardError.end(), '\n'), 1)
      << dump.standardError;
  EXPECT_NE(contents(path("dump.txt")).find("C:\\Rights\\plan.txt\tLAB\\bob\tDeny (WD)\r\n"),
            std::string::npos);
}

}  // namespace

namespace {

TEST_F(UnattendedRunTest, TheNetworkKeywordWritesTheWalkAsIndentedLines) {
  const RunResult network = run({"network", "\\\\PDC", path("network.txt")});
  EXPECT_EQ(network.exitCode, 0) << network.standardError;
  EXPECT_EQ(network.standardError, "");
  const std::string text = contents(path("network.txt"));
  EXPECT_TRUE(text.starts_with("root\r\n\tMicrosoft Windows Network\r\n\t\tLAB\r\n\t\t\t\\\\")) << text;
  EXPECT_NE(text.find("\r\n\t\t\t\\\\PDC\r\n"), std::string::npos) << text;
}

}  // namespace

namespace {

// Scripts export to pipes: `veltrane users PDC /dev/stdout | ...` or a FIFO
// gets the export where it is, never a regular file renamed over it, and a
// device that refuses the bytes fails the run in one line.
TEST_F(UnattendedRunTest, AFifoStandardOutputOrDeviceIsWrittenInPlace) {
  const QString fifo = path("pipe");
  ASSERT_EQ(::mkfifo(fifo.toLocal8Bit().constData(), 0600), 0);
  test_support::FifoReader reader(fifo.toStdString());
  const RunResult toFifo = run({"users", "PDC", fifo});
  const std::string received = reader.finish();
  EXPECT_EQ(toFifo.exitCode, 0) << toFifo.standardError;
  EXPECT_TRUE(received.starts_with("UserName\tFull Name\t")) << received;
  EXPECT_NE(received.find("\r\nbob\tBob Baker\t"), std::string::npos);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo.toStdString()));

  const RunResult toStdout = run({"groups", "PDC", "/dev/stdout"});
  EXPECT_EQ(toStdout.exitCode, 0) << toStdout.standardError;
  EXPECT_NE(toStdout.standardOutput.find("\r\nStaff\tEveryone on the payroll"), std::string::npos)
      << toStdout.standardOutput;

  if (!std::filesystem::exists("/dev/full")) return;
  const RunResult toFull = run({"users", "PDC", "/dev/full"});
  EXPECT_EQ(toFull.exitCode, 1);
  EXPECT_EQ(std::count(toFull.standardError.begin(), toFull.standardError.end(), '\n'), 1)
      << toFull.standardError;
  EXPECT_NE(toFull.standardError.find("/dev/full"), std::string::npos) << toFull.standardError;
  EXPECT_NE(toFull.standardError.find(std::strerror(ENOSPC)), std::string::npos)
      << toFull.standardError;
  EXPECT_TRUE(std::filesystem::is_character_file("/dev/full"));
}

// A run that failed and found nothing must not leave an empty or header-only
// file that passes for an answer of "none": the file already there stays
// as it was, and none is made.
TEST_F(UnattendedRunTest, ARunThatFailedAndFoundNothingLeavesTheFileAsItWas) {
  QFile::remove(labPath());
  ASSERT_TRUE(QFile::copy(VELTRANE_SOURCE_DIR "/tests/labs/files-lab.json", labPath()));
  QFile::setPermissions(labPath(), QFile::ReadOwner | QFile::WriteOwner);
  const std::string before = "yesterday's export\r\n";
  {
    QFile old(path("tree.txt"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write(before.data(), static_cast<qint64>(before.size()));
  }
  const RunResult tree = run({"files1", "\\\\MEMBER", path("tree.txt"), "nosuchuser"});
  EXPECT_EQ(tree.exitCode, 1) << tree.standardError;
  EXPECT_EQ(std::count(tree.standardError.begin(), tree.standardError.end(), '\n'), 1)
      << tree.standardError;
  EXPECT_EQ(contents(path("tree.txt")), before);

  const RunResult server = run({"users", "NOSUCH", path("users.txt")});
  EXPECT_EQ(server.exitCode, 1) << server.standardError;
  EXPECT_FALSE(QFile::exists(path("users.txt")));
}

}  // namespace

namespace {

class UnattendedMembers : public apptest::WindowTest {};

// --members writes, row for row, what the window's export writes with Show
// Members on; with another display it is refused, not passed over.
TEST_F(UnattendedMembers, MembersWriteTheWindowsShowMembersExportAndGoWithGroupsOnly) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString labFile = dir.filePath("lab.json");
  ASSERT_TRUE(QFile::copy(VELTRANE_SOURCE_DIR "/tests/app/window-lab.json", labFile));
  QFile::setPermissions(labFile, QFile::ReadOwner | QFile::WriteOwner);
  auto contents = [](const QString& file) {
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string("<none>");
  };

  // The window, over the same lab: Show Members on as the settings sheet
  // turns it on, then the Groups display browsed and exported.
  ASSERT_TRUE(makeWindow());
  m_window->settings().g_show_members = 1;
  m_window->settingsApplied({display::DisplayType::Groups});
  m_window->selectTab(display::traitsOf(display::DisplayType::Groups).tab);
  m_window->browse();
  ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
  const QString shown = dir.filePath("window.txt");
  m_files->queueAnswer(shown.toStdString(), 0);
  m_window->command(window::kIdExport);
  const std::string expected = contents(shown);
  ASSERT_TRUE(expected.starts_with("GroupName\t")) << expected;
  // Staff's members are rows of their own.
  EXPECT_NE(expected.find("\r\nStaff\tEveryone on the payroll\talice\r\n"), std::string::npos)
      << expected;

  const RunResult members = apptest::runUnattended(
      dir.path(), labFile, {"groups", "PDC", dir.filePath("members.txt"), "--members"});
  EXPECT_EQ(members.exitCode, 0) << members.standardError;
  EXPECT_EQ(members.standardError, "");
  EXPECT_EQ(contents(dir.filePath("members.txt")), expected);

  // Without it, the groups alone, as before.
  const RunResult plain =
      apptest::runUnattended(dir.path(), labFile, {"groups", "PDC", dir.filePath("plain.txt")});
  EXPECT_EQ(plain.exitCode, 0) << plain.standardError;
  const std::string groups = contents(dir.filePath("plain.txt"));
  EXPECT_EQ(groups.find("alice"), std::string::npos) << groups;
  EXPECT_LT(groups.size(), expected.size());

  const RunResult users = apptest::runUnattended(
      dir.path(), labFile, {"users", "PDC", dir.filePath("users.txt"), "--members"});
  EXPECT_EQ(users.exitCode, 2);
  EXPECT_TRUE(users.standardError.starts_with(
      "veltrane: --members goes with the groups display, not the Users display\n"))
      << users.standardError;
  EXPECT_FALSE(QFile::exists(dir.filePath("users.txt")));
  const RunResult alone = apptest::runProgram(dir.path(), {"--lab", labFile, "--members"});
  EXPECT_EQ(alone.exitCode, 2);
  EXPECT_TRUE(alone.standardError.starts_with(
      "veltrane: --members goes with an unattended groups export\n"))
      << alone.standardError;
}

}  // namespace
