// The dry run: each record's preview set against what the import then does
// with the same file, record by record, and a lab left as it was.

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "import_test_support.h"
#include "platform/files.h"
#include "platform/lab/lab.h"
#include "transfer/import/import_preview.h"

namespace transfer::test {
namespace {

using Lines = std::vector<std::string>;

ImportPreview previewText(std::string_view text, ImportOptions options) {
  options.server = std::string(kServer);
  const ImportFileResult file = parseImportText(text);
  EXPECT_TRUE(file.table) << file.error;
  return file.table ? previewImport(*file.table, options) : ImportPreview{};
}

Lines lines(const ImportPreview& preview) {
  Lines out;
  for (const PreviewRecord& r : preview.records) out.push_back(r.text());
  return out;
}

// The lines the import's summary says failed, told apart from the home
// directories it could not make.
std::set<std::size_t> failedLines(const ImportSummary& summary, bool homes) {
  std::set<std::size_t> out;
  for (const std::string& f : summary.failures) {
    if (!f.starts_with("Line ")) continue;
    if ((f.find(": home directory ") != std::string::npos) == homes)
      out.insert(std::stoul(f.substr(5)));
  }
  return out;
}

// The account as read, without what the clock changes (its password's age).
std::optional<platform::USER_INFO_3> accountNow(std::string_view name) {
  auto a = account(name);
  if (a) a->usri3_password_age = 0;
  return a;
}

bool directoryExists(std::string_view path) {
  platform::FindHandle handle;
  platform::WIN32_FIND_DATA data;
  return platform::FindFirstFile(path, handle.out(), &data) == 0;
}

class ImportPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lab) << lab.error(); }
  lab::test::LabFixture lab{"import-domain"};
  ui::ScriptedMessages messages;
};

// Every kind of outcome, records that rely on earlier ones, and homes.
constexpr std::string_view kUsers =
    "UserName\tPassword\tFull Name\tDescription\tHome\tDisabled\r\n"
    "ann\tpw-ann\tAnn Archer\tNew starter\t\\\\FILES\\D$\\Users\\ann\tNo\r\n"
    "alice\t\tAlice Archer\tNight shift\t*None*\tYes\r\n"
    "plain\t\tPlain User\t\t*None*\tNo\r\n"
    "bad/name\tpw-bad\tBad\t\t*None*\tNo\r\n"
    "shorty\tab\tShort\t\t*None*\tNo\r\n"
    "Sales\tpw-sales\tA group's name\t\t*None*\tNo\r\n"
    "ANN\t\tAnn B. Archer\tNew starter\t\\\\FILES\\D$\\Users\\ann\tNo\r\n"
    "off\tpw-off\tOff Share\t\tC:\\Users\\off\tNo\r\n";

TEST_F(ImportPreviewTest, AUserFilesPreviewIsWhatTheImportThenDoesRecordByRecord) {
  ImportOptions options = updateAll();
  options.createHomes = true;
  options.askToContinue = false;
  const std::string before = lab->toJson();
  const ImportPreview preview = previewText(kUsers, options);
  EXPECT_EQ(lab->toJson(), before) << "a dry run writes nothing";
  EXPECT_FALSE(directoryExists("\\\\FILES\\D$\\Users\\ann"));

  EXPECT_EQ(lines(preview),
            (Lines{"line 2: ann: added; home directory to create",
                   "line 3: alice: updated (description, disabled)",
                   "line 4: plain: unchanged",
                   "line 5: bad/name: would fail (the name holds one of \" / \\ [ ] : ; | = , + * "
                   "? < >)",
                   "line 6: shorty: would fail (the password is shorter than the 4 characters "
                   "the domain's policy asks for)",
                   "line 7: Sales: would fail (a group has that name)",
                   // Added two lines before: the import finds it there.
                   "line 8: ANN: updated (full name); home directory already there",
                   "line 9: off: added; home directory would not be created (not a directory "
                   "on a share)"}));
  EXPECT_EQ(preview.countLines(),
            (Lines{"Dry run: nothing was changed.",
                   "Records: 2 to add, 2 to update, 1 unchanged, 3 would fail",
                   "Home directories: 1 to create, 1 would not be created"}));
  EXPECT_FALSE(preview.allWouldApply());

  // The import of the same file, record by record as the preview said.
  std::map<std::string, std::optional<platform::USER_INFO_3>> was;
  for (const PreviewRecord& r : preview.records) was[r.name] = accountNow(r.name);
  const ImportSummary summary = importText(kUsers, messages, options);
  EXPECT_EQ(summary.users.added, preview.added);
  EXPECT_EQ(summary.users.updated, preview.updated);
  EXPECT_EQ(summary.users.unchanged, preview.unchanged);
  EXPECT_EQ(summary.users.failed, preview.failing);
  EXPECT_EQ(summary.homesCreated, preview.homesToCreate);
  EXPECT_EQ(summary.homesFailed, preview.homesFailing);
  std::set<std::size_t> failing, homesFailing;
  for (const PreviewRecord& r : preview.records) {
    const auto now = accountNow(r.name);
    switch (r.outcome) {
      case PreviewOutcome::WouldFail:
        failing.insert(r.line);
        EXPECT_EQ(now, was[r.name]) << r.text();
        break;
      case PreviewOutcome::Added:
        EXPECT_FALSE(was[r.name]) << r.text();
        EXPECT_TRUE(now) << r.text();
        break;
      case PreviewOutcome::Unchanged:
        EXPECT_EQ(now, was[r.name]) << r.text();
        break;
      case PreviewOutcome::Updated:
        ASSERT_TRUE(now) << r.text();
        if (was[r.name]) {
          // Each field named changed, and only those.
          for (auto [field, words] : {std::pair{&platform::USER_INFO_3::usri3_full_name, "full name"},
                                      {&platform::USER_INFO_3::usri3_comment, "description"}})
            EXPECT_EQ((*now).*field != (*was[r.name]).*field,
                      r.detail.find(words) != std::string::npos)
                << r.text();
          EXPECT_EQ((now->usri3_flags ^ was[r.name]->usri3_flags) & platform::UF_ACCOUNTDISABLE,
                    r.detail.find("disabled") != std::string::npos ? platform::UF_ACCOUNTDISABLE : 0u)
              << r.text();
        }
        break;
    }
    if (r.home.find("would not") != std::string::npos) homesFailing.insert(r.line);
  }
  EXPECT_EQ(failedLines(summary, false), failing);
  EXPECT_EQ(failedLines(summary, true), homesFailing);
  EXPECT_EQ(account("ann")->usri3_full_name, "Ann B. Archer");
  EXPECT_TRUE(directoryExists("\\\\FILES\\D$\\Users\\ann"));

  // Previewed again after the import: everything is there now.
  const ImportPreview again = previewText(kUsers, ImportOptions{});
  EXPECT_EQ(again.added, 0u);
  EXPECT_EQ(again.unchanged, 5u);  // "Only add new" leaves every account there
}

// As the Groups display exports it, with members that join groups made
// earlier in the file, members already there, and one that does not exist.
constexpr std::string_view kGroups =
    "GroupName\tComment\tUserName\r\n"
    "Engineers\tBuilds things\tAAGROUP_CONTAINER\r\n"
    "Engineers\tBuilds things\talice\r\n"
    "Engineers\tBuilds things\tALICE\r\n"
    "Lab Users\tCan use the lab\tLAB\\Engineers\r\n"
    "Sales\tNew words\tAAGROUP_CONTAINER\r\n"
    "Sales\tNew words\talice\r\n"
    "Printing\tPrint users\tplain\r\n"
    "Printing\tPrint users\talice\r\n"
    "Printing\tPrint users\tUsers\r\n"
    "Engineers\tBuilds things\tnobody\r\n"
    "Later\t\tAAGROUP_CONTAINER\r\n";

TEST_F(ImportPreviewTest, AGroupFilesPreviewSeesEarlierRecordsAndStopsWhereTheImportDoes) {
  const std::string before = lab->toJson();
  const ImportPreview preview = previewText(kGroups, updateAll());
  EXPECT_EQ(lab->toJson(), before) << "a dry run writes nothing";
  EXPECT_EQ(lines(preview),
            (Lines{"line 2: Engineers: added (global group)",
                   "line 3: Engineers: updated (member alice added)",
                   "line 4: Engineers: unchanged (ALICE is already a member)",
                   "line 5: Lab Users: added (local group, member LAB\\Engineers added)",
                   "line 6: Sales: updated (comment)",
                   "line 7: Sales: unchanged (alice is already a member)",
                   "line 8: Printing: updated (member LAB\\plain added)",
                   "line 9: Printing: unchanged (LAB\\alice is already a member)",
                   "line 10: Printing: would fail (LAB\\Users is a local group, which cannot be a "
                   "member of a local group)",
                   "line 11: Engineers: would fail (no user account named nobody to add as a "
                   "member)",
                   "line 12: Later: added (global group)"}));
  EXPECT_EQ(preview.stopLine, 10u);
  EXPECT_EQ(preview.countLines(),
            (Lines{"Dry run: nothing was changed.",
                   "Records: 3 to add, 3 to update, 3 unchanged, 2 would fail",
                   "Members: 3 to add, 3 already members",
                   "The import would stop at line 10: a group file's import ends at its first "
                   "failed record."}));

  ImportOptions options = updateAll();
  const ImportSummary summary = importText(kGroups, messages, options);
  EXPECT_TRUE(summary.stopped);
  EXPECT_EQ(failedLines(summary, false), std::set<std::size_t>{10});
  EXPECT_EQ(summary.recordsDone, 9u);
  // Up to the stop, the import did what the preview said.
  EXPECT_EQ(summary.groups.added, 2u);    // Engineers, Lab Users
  EXPECT_EQ(summary.groups.updated, 1u);  // Sales
  EXPECT_EQ(summary.membersAdded, 6u);    // three new, three already there
  EXPECT_EQ(globalMembers("Engineers"), Lines{"alice"});
  EXPECT_EQ(localMembers("Lab Users"), Lines{"LAB\\Engineers"});
  EXPECT_EQ(test_support::globalComment("Sales"), "New words");
  EXPECT_EQ(localMembers("Printing"), (Lines{"LAB\\alice", "LAB\\plain"}));
  EXPECT_EQ(test_support::globalComment("Later"), "<none>");
}

TEST_F(ImportPreviewTest, RefusedHeadersAndAServerThatDoesNotAnswerAreSaidNotGuessed) {
  ImportPreview preview = previewText("UserName\tShoe size\nann\t9\n", ImportOptions{});
  EXPECT_EQ(preview.kind, ImportKind::None);
  EXPECT_EQ(preview.problems,
            (Lines{"The following input column is not supported:\nShoe size",
                   "The header names neither a user file nor a group file."}));
  EXPECT_TRUE(preview.records.empty());

  ImportOptions options;
  options.server = "\\\\NOWHERE";
  const ImportFileResult file = parseImportText("UserName\nann\n");
  ASSERT_TRUE(file.table);
  preview = previewImport(*file.table, options);
  EXPECT_TRUE(preview.records.empty());
  ASSERT_EQ(preview.problems.size(), 1u);
  EXPECT_TRUE(preview.problems[0].starts_with("The import stopped: the server \\\\NOWHERE does not answer."))
      << preview.problems[0];
  EXPECT_FALSE(preview.allWouldApply());
}

}  // namespace
}  // namespace transfer::test
