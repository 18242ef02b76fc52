// The unattended import, run as the real program: exit statuses, one line
// per message, and the lab file after the run as the proof.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <fstream>
#include <optional>
#include <sstream>
#include <string>

#include "unattended_process.h"
#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "platform/netapi.h"

namespace {

using apptest::RunResult;

class UnattendedImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(m_dir.isValid());
    ASSERT_TRUE(QFile::copy(VELTRANE_TEST_LABS "/import-domain.json", labPath()));
    QFile::setPermissions(labPath(), QFile::ReadOwner | QFile::WriteOwner);
  }

  QString labPath() const { return m_dir.filePath("lab.json"); }

  QString file(const char* name, const std::string& text) const {
    const QString path = m_dir.filePath(name);
    std::ofstream(path.toStdString(), std::ios::binary) << text;
    return path;
  }

  RunResult run(const QStringList& words) {
    return apptest::runUnattended(m_dir.path(), labPath(), words);
  }

  std::string labText() const {
    std::ifstream in(labPath().toStdString(), std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::shared_ptr<lab::Lab> labNow() const {
    std::string error;
    auto lab = lab::labFromJson(labText(), "lab.json", &error);
    EXPECT_TRUE(lab) << error;
    return lab;
  }

  // Turns the user's event logging setting on in the lab file.
  void switchLoggingOn() const {
    std::string text = labText();
    const std::string machines = "\"machines\": [";
    const auto at = text.find(machines);
    ASSERT_NE(at, std::string::npos);
    text.insert(at, R"("userRegistries": {"LAB\\Administrator": [{"key": "Software\\Brisle Software\\Veltrane 2.20",
        "values": [{"name": "e_logging_onoff", "type": "REG_DWORD", "data": 1}]}]},
  )");
    std::ofstream(labPath().toStdString(), std::ios::binary | std::ios::trunc) << text;
  }

  // The account as the lab file now holds it.
  std::optional<platform::USER_INFO_3> account(const std::string& name) const {
    auto lab = labNow();
    if (!lab) return std::nullopt;
    platform::ScopedBackend scope(lab::makeLabBackend(lab));
    platform::NetBuffer buffer;
    if (platform::NetUserGetInfo("\\\\PDC", name, 3, buffer) != 0) return std::nullopt;
    return *buffer.one<platform::USER_INFO_3>();
  }

  QTemporaryDir m_dir;
};

TEST_F(UnattendedImportTest, EveryRecordAppliedEndsWithZeroAndUpdateRewrites) {
  switchLoggingOn();
  const QString users = file("users.txt",
                             "UserName\tPassword\tFull Name\r\nann\tpw-ann\tAnn Archer\r\n"
                             "alice\tpw-alice\tAlice Renamed");
  RunResult r = run({"import", "PDC", users});
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  EXPECT_EQ(r.standardError, "");
  EXPECT_NE(r.standardOutput.find("Users: 1 added, 0 updated, 1 left unchanged, 0 failed"),
            std::string::npos)
      << r.standardOutput;
  ASSERT_TRUE(account("ann"));
  EXPECT_EQ(account("ann")->usri3_full_name, "Ann Archer");
  EXPECT_EQ(account("alice")->usri3_full_name, "Alice Archer");
  // The user's logging setting holds here too: the addition is reported.
  const auto events = labNow()->eventLog("WKS");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].eventId, 59271u);
  EXPECT_EQ(events[0].strings, std::vector<std::string>{"User Added:   ann"});

  r = run({"import", "\\\\PDC", users, "--update"});
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  EXPECT_EQ(account("alice")->usri3_full_name, "Alice Renamed");
}

TEST_F(UnattendedImportTest, FailuresEndWithOneAndOneLinePerMessageAfterApplyingTheRest) {
  const RunResult r = run({"import", "PDC",
                           file("users.txt",
                                "UserName\tPassword\tHome\nshort\tab\t\nok\tpw-ok\t"
                                "\\\\FILES\\D$\\Users\\ok\nbadhome\tpw-bad\tC:\\Users\\x\n"),
                           "--create-homes"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.standardError,
            "veltrane: Import Error: The password used for import was too short for the current "
            "user account policies. Either adjust (add?) password or change the account "
            "policies on the domain.\n"
            "veltrane: Error creating home directories.: 123\n");
  EXPECT_FALSE(account("short"));
  EXPECT_TRUE(account("ok"));
  EXPECT_TRUE(account("badhome"));
}

TEST_F(UnattendedImportTest, FaultyFilesEndWithOneAndChangeNothing) {
  const std::string before = [&] {
    std::ifstream in(labPath().toStdString(), std::ios::binary);
    std::ostringstream t;
    t << in.rdbuf();
    return t.str();
  }();
  struct Case {
    std::string text;
    std::string line;
  };
  const Case cases[] = {
      {"", "veltrane: The import file is empty.\n"},
      {"UserName\tHome\tHome\nann\tx\ty\n",
       "veltrane: The following input column is given twice: Home\n"
       "veltrane: The import attempt has failed. Do you wish to continue attempting the import?\n"},
      {"UserName\tPassword\nann\tpw-ann\nben\n",
       "veltrane: Line 3 of the import file has 1 cell where the header has 2 columns.\n"},
  };
  for (const Case& c : cases) {
    const RunResult r = run({"import", "PDC", file("bad.txt", c.text)});
    EXPECT_EQ(r.exitCode, 1) << c.text;
    EXPECT_EQ(r.standardError, c.line);
  }
  const RunResult missing = run({"import", "PDC", m_dir.filePath("absent.txt")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.standardError,
            "veltrane: An error occured while trying to open the import file.\n");
  EXPECT_FALSE(account("ann"));
  std::ifstream in(labPath().toStdString(), std::ios::binary);
  std::ostringstream after;
  after << in.rdbuf();
  EXPECT_EQ(after.str(), before);
}

// Everything the run leaves in the lab's folder but the lock file.
QStringList folderEntries(const QString& path) {
  QStringList entries = QDir(path).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  entries.removeAll("lab.json.lock");
  return entries;
}

TEST_F(UnattendedImportTest, DryRunSaysWhatEachRecordWouldDoAndLeavesTheLabFileAsItWas) {
  const QString users = file("users.txt",
                             "UserName\tPassword\tFull Name\r\nann\tpw-ann\tAnn Archer\r\n"
                             "alice\t\tAlice Renamed\r\nshort\tab\tS\r\n");
  const std::string before = labText();
  const QStringList entries = folderEntries(m_dir.path());
  RunResult r = run({"import", "PDC", users, "--update", "--dry-run"});
  EXPECT_EQ(r.exitCode, 1) << r.standardError;
  EXPECT_EQ(r.standardError, "");
  EXPECT_EQ(r.standardOutput,
            "line 2: ann: added\n"
            "line 3: alice: updated (full name)\n"
            "line 4: short: would fail (the password is shorter than the 4 characters the "
            "domain's policy asks for)\n"
            "Dry run: nothing was changed.\n"
            "Records: 1 to add, 1 to update, 0 unchanged, 1 would fail\n");
  // Not a byte written: no account, no journal beside the lab.
  EXPECT_EQ(labText(), before);
  EXPECT_EQ(folderEntries(m_dir.path()), entries);

  // A file whose records would all be applied ends with 0.
  r = run({"import", "PDC", file("fine.txt", "UserName\nalice\n"), "--dry-run"});
  EXPECT_EQ(r.exitCode, 0) << r.standardError;
  EXPECT_EQ(r.standardOutput,
            "line 2: alice: unchanged\nDry run: nothing was changed.\n"
            "Records: 0 to add, 0 to update, 1 unchanged, 0 would fail\n");

  // The import then does what the dry run said.
  r = run({"import", "PDC", users, "--update"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.standardOutput.find("Users: 1 added, 1 updated, 0 left unchanged, 1 failed"),
            std::string::npos)
      << r.standardOutput;
  EXPECT_EQ(account("alice")->usri3_full_name, "Alice Renamed");
  EXPECT_FALSE(account("short"));
}

TEST_F(UnattendedImportTest, RequestsThatCannotBeUnderstoodEndWithTwo) {
  for (const QStringList& words :
       {QStringList{"import", "PDC"}, QStringList{"import"},
        QStringList{"import", "PDC", "a.txt", "extra"}, QStringList{"users", "PDC", "x", "--update"},
        QStringList{"users", "PDC", "x", "--dry-run"},
        QStringList{"import", "PDC", "a.txt", "--updates"}}) {
    const RunResult r = run(words);
    EXPECT_EQ(r.exitCode, 2) << words.join(' ').toStdString();
    EXPECT_TRUE(r.standardError.starts_with("veltrane: ")) << r.standardError;
  }
}

}  // namespace
