// Importing user files into the lab: accounts created and updated, the
// failures and their questions, cancel between records.

#include <gtest/gtest.h>

#include "import_test_support.h"
#include "platform/lab/password_hash.h"
#include "resources/strings.h"

namespace transfer::test {
namespace {

using platform::UF_ACCOUNTDISABLE;
using platform::UF_DONT_EXPIRE_PASSWD;
using platform::UF_PASSWD_CANT_CHANGE;
using platform::UF_PASSWD_NOTREQD;

std::string storedHash(const lab::Lab& l, std::string_view name) {
  return lab::test::storedUser(l, name).value("passwordHash", "");
}

class UserImport : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lab) << lab.error(); }
  lab::test::LabFixture lab{"import-domain"};
  ui::ScriptedMessages messages;
};

constexpr std::string_view kFullFile =
    "UserName\tPassword\tFull Name\tDescription\tProfile\tScript\tHome\tDrive\tDisabled\t"
    "PW Expires\tcPWDnxt\tnocPWD\r\n"
    "ann\tann-pw-1\tAnn Archer\tNew starter\t\\\\FILES\\profiles\\ann\tann.cmd\t"
    "\\\\FILES\\D$\\Users\\ann\tH:\tNo\tNo\tYes\tYes\r\n"
    "alice\tfresh-pw\tAlice A. Archer\t\t*None*\tlogon.cmd\t*None*\t*None*\tyes\tNo\tNo\tNo\r\n";

TEST_F(UserImport, UpdateAllCreatesAndRewritesAccountsFieldByField) {
  ImportOptions options;
  options.style = ImportStyle::UpdateAll;
  options.logging = true;
  const ImportSummary summary = importText(kFullFile, messages, options);
  EXPECT_TRUE(summary.allApplied()) << testing::PrintToString(summary.failures);
  EXPECT_EQ(summary.users.added, 1u);
  EXPECT_EQ(summary.users.updated, 1u);
  EXPECT_TRUE(messages.shown().empty());

  const auto ann = account("ann");
  ASSERT_TRUE(ann);
  EXPECT_EQ(ann->usri3_full_name, "Ann Archer");
  EXPECT_EQ(ann->usri3_comment, "New starter");
  EXPECT_EQ(ann->usri3_profile, "\\\\FILES\\profiles\\ann");
  EXPECT_EQ(ann->usri3_script_path, "ann.cmd");
  EXPECT_EQ(ann->usri3_home_dir, "\\\\FILES\\D$\\Users\\ann");
  EXPECT_EQ(ann->usri3_home_dir_drive, "H:");
  EXPECT_EQ(ann->usri3_flags & UF_ACCOUNTDISABLE, 0u);
  // "PW Expires" No sets never-expires, then "cPWDnxt" Yes clears it again.
  EXPECT_EQ(ann->usri3_flags & UF_DONT_EXPIRE_PASSWD, 0u);
  EXPECT_NE(ann->usri3_password_expired, 0u);
  EXPECT_NE(ann->usri3_flags & UF_PASSWD_CANT_CHANGE, 0u);

  const auto alice = account("alice");
  ASSERT_TRUE(alice);
  EXPECT_EQ(alice->usri3_full_name, "Alice A. Archer");
  EXPECT_EQ(alice->usri3_comment, "");  // an empty cell clears
  EXPECT_EQ(alice->usri3_script_path, "logon.cmd");
  EXPECT_EQ(alice->usri3_home_dir, "");  // "*None*" leaves the field
  // "yes" is not "Yes": the account is enabled.
  EXPECT_EQ(alice->usri3_flags & UF_ACCOUNTDISABLE, 0u);
  EXPECT_NE(alice->usri3_flags & UF_DONT_EXPIRE_PASSWD, 0u);
  EXPECT_EQ(alice->usri3_password_expired, 0u);

  // The same file without passwords again: every field already holds what
  // the file says, so nothing is updated.
  messages.clear();
  const ImportSummary again = importText(
      "UserName\tFull Name\tDescription\r\nann\tAnn Archer\tNew starter\r\n"
      "alice\tAlice A. Archer\tNight shift\r\n",
      messages, options);
  EXPECT_EQ(again.users.unchanged, 1u);
  EXPECT_EQ(again.users.updated, 1u);
  EXPECT_EQ(account("alice")->usri3_comment, "Night shift");

  // Only the addition is reported.
  EXPECT_EQ(eventTexts(), std::vector<std::string>{"59271 User Added:   ann"});
}

TEST_F(UserImport, OnlyAddNewLeavesExistingAccountsAndLogsNothingWhenLoggingIsOff) {
  const std::string before = account("alice")->usri3_full_name;
  const ImportSummary summary = importText(kFullFile, messages);
  EXPECT_TRUE(summary.allApplied());
  EXPECT_EQ(summary.users.added, 1u);
  EXPECT_EQ(summary.users.unchanged, 1u);
  EXPECT_EQ(account("alice")->usri3_full_name, before);
  EXPECT_EQ(account("alice")->usri3_comment, "Sales lead");
  EXPECT_TRUE(account("ann"));
  EXPECT_TRUE(eventTexts().empty());
}

TEST_F(UserImport, AccountsWithoutAPasswordColumnAreCreatedDisabledWithoutAKnownPassword) {
  const ImportSummary summary = importText("UserName\nnew1\nnew2\nalice\n", messages,
                                           updateAll());
  EXPECT_TRUE(summary.allApplied());
  EXPECT_EQ(summary.users.added, 2u);
  for (const char* name : {"new1", "new2"}) {
    const auto a = account(name);
    ASSERT_TRUE(a) << name;
    EXPECT_NE(a->usri3_flags & UF_ACCOUNTDISABLE, 0u) << name;
    EXPECT_EQ(a->usri3_flags & UF_PASSWD_NOTREQD, 0u) << name;
    // The placeholder text never becomes a password.
    EXPECT_EQ(lab->toJson().find("\"*None*\""), std::string::npos);
    // No hash of some random password: the mark no password matches.
    const std::string stored = storedHash(lab.lab(), name);
    EXPECT_EQ(stored, "*") << name;
    for (std::string_view guess : {"", "*", "*None*", "unknown"})
      EXPECT_FALSE(lab::passwordMatches(stored, guess)) << name << " " << guess;
  }
  // An existing account keeps its state: nothing in the file speaks of it.
  EXPECT_EQ(account("alice")->usri3_flags & UF_ACCOUNTDISABLE, 0u);
  EXPECT_EQ(account("alice")->usri3_comment, "Sales lead");
}

// "Password not required" would let a blank password in on a real domain:
// only an account the file gives a blank password is created with it, and an
// account that carries it keeps it when the import rewrites the account.
TEST_F(UserImport, OnlyABlankPasswordIsCreatedWithPasswordNotRequired) {
  platform::NetBuffer buffer;
  ASSERT_EQ(platform::NetUserModalsGet(kServer, 0, buffer), 0u);
  platform::USER_MODALS_INFO_0 policy = *buffer.one<platform::USER_MODALS_INFO_0>();
  policy.usrmod0_min_passwd_len = 0;
  ASSERT_EQ(platform::NetUserModalsSet(kServer, 0, policy, nullptr), 0u);
  ASSERT_EQ(platform::NetUserSetInfo(kServer, "alice", 1008,
                                     platform::USER_INFO_1008{account("alice")->usri3_flags |
                                                              UF_PASSWD_NOTREQD},
                                     nullptr),
            0u);
  const ImportSummary summary = importText(
      "UserName\tPassword\nwithpw\tgood-pw\nblank\t\nalice\tnew-alice-pw\n", messages,
      updateAll());
  EXPECT_TRUE(summary.allApplied()) << testing::PrintToString(summary.failures);
  EXPECT_EQ(account("withpw")->usri3_flags & UF_PASSWD_NOTREQD, 0u);
  EXPECT_TRUE(lab::passwordMatches(storedHash(lab.lab(), "withpw"), "good-pw"));
  EXPECT_NE(account("blank")->usri3_flags & UF_PASSWD_NOTREQD, 0u);
  EXPECT_NE(account("alice")->usri3_flags & UF_PASSWD_NOTREQD, 0u) << "set on purpose: kept";
  EXPECT_TRUE(lab::passwordMatches(storedHash(lab.lab(), "alice"), "new-alice-pw"));
}

// The passwords are hashed ahead on every core, yet the records are applied
// in order: each account gets its own password, and a failure in between
// gives its messages where it always did.
TEST_F(UserImport, ManyPasswordsEachReachTheirOwnAccountInFileOrder) {
  std::string file = "UserName\tPassword\n";
  std::vector<std::string> passwords;
  for (int i = 0; i < 40; ++i) {
    passwords.push_back(i == 21 ? "ab" : "pw-" + std::to_string(i % 9) + "-" + std::to_string(i));
    file += "many" + std::to_string(i) + "\t" + passwords.back() + "\n";
  }
  ImportOptions options;
  options.askToContinue = false;
  const ImportSummary summary = importText(file, messages, options);
  EXPECT_EQ(summary.users.added, 39u);
  EXPECT_EQ(summary.users.failed, 1u);
  ASSERT_EQ(summary.failures.size(), 1u);
  EXPECT_TRUE(summary.failures[0].starts_with("Line 23: many21: ")) << summary.failures[0];
  EXPECT_EQ(texts(messages), std::vector<std::string>{"Import Error|" + res::str(59331)});
  for (int i = 0; i < 40; ++i) {
    if (i == 21) continue;
    const std::string stored = storedHash(lab.lab(), "many" + std::to_string(i));
    EXPECT_TRUE(lab::passwordMatches(stored, passwords[i])) << i;
    EXPECT_FALSE(lab::passwordMatches(stored, passwords[(i + 1) % 40])) << i;
  }
}

TEST_F(UserImport, AFailedRecordAsksAndNoStopsWhileYesGoesOn) {
  // "ab" is shorter than the domain's four-character minimum.
  const std::string file = "UserName\tPassword\nfirst\tgood-pw\nshort\tab\nlast\tgood-pw\n";
  messages.queueAnswer(ui::Answer::Ok);  // the failure's own message
  messages.queueAnswer(ui::Answer::No);
  ImportSummary summary = importText(file, messages);
  EXPECT_FALSE(summary.allApplied());
  EXPECT_TRUE(summary.stopped);
  EXPECT_TRUE(summary.closesWizard());
  EXPECT_EQ(texts(messages),
            (std::vector<std::string>{
                "Import Error|" + res::str(59331),
                "Import Failed|The import attempt has failed.\nDo you wish to continue attempting\n"
                "the import?"}));
  EXPECT_EQ(messages.shown().at(1).buttons, ui::Buttons::YesNo);
  EXPECT_EQ(messages.shown().at(1).icon, ui::Icon::Error);
  EXPECT_TRUE(account("first"));
  EXPECT_FALSE(account("short"));
  EXPECT_FALSE(account("last"));
  EXPECT_EQ(summary.failures.size(), 1u);
  EXPECT_TRUE(summary.failures[0].starts_with("Line 3: short: The password used")) << summary.failures[0];

  messages.clear();
  messages.queueAnswer(ui::Answer::Ok);
  messages.queueAnswer(ui::Answer::Yes);
  summary = importText(file, messages);
  EXPECT_TRUE(account("last"));
  EXPECT_EQ(summary.users.added, 1u);
  EXPECT_EQ(summary.users.unchanged, 1u);
  EXPECT_EQ(summary.users.failed, 1u);
  EXPECT_EQ(summary.recordsDone, 3u);
}

TEST_F(UserImport, OtherAddFailuresNameTheCodeServerAndAccount) {
  // Too long for an account name: the lab answers 87 and stores nothing.
  const std::string longName(30, 'n');
  ImportOptions options;
  options.askToContinue = false;  // as the unattended run: no question, go on
  const ImportSummary summary =
      importText("UserName\tPassword\n" + longName + "\tgood-pw\nok\tgood-pw\n", messages, options);
  EXPECT_EQ(texts(messages), std::vector<std::string>{"Import Error|Error code #87.\nServer Name: "
                                                      "\\\\PDC\nUserName: " + longName});
  EXPECT_TRUE(account("ok"));
  EXPECT_EQ(summary.users.failed, 1u);
  EXPECT_FALSE(summary.allApplied());
}

TEST_F(UserImport, RefusedHeadersShowTheirMessagesAndChangeNothing) {
  const std::string before = lab->toJson();
  importText("UserName\tShoe size\nann\t9\n", messages);
  EXPECT_EQ(texts(messages),
            (std::vector<std::string>{
                "veltrane|The following input column is not supported:\nShoe size",
                "veltrane|The import attempt has failed.\nDo you wish to continue attempting\n"
                "the import?"}));
  messages.clear();
  const ImportSummary summary = importText("username\nann\n", messages);
  EXPECT_EQ(summary.kind, ImportKind::None);
  EXPECT_TRUE(summary.closesWizard());
  EXPECT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(lab->toJson(), before);
}

TEST_F(UserImport, Windows1252TextIsStoredAsTheCharactersItMeant) {
  const ImportSummary summary =
      importText("UserName\tPassword\tFull Name\njose\tpw-jose\tJos\xE9 M\xFCller \x80\n", messages);
  EXPECT_TRUE(summary.allApplied());
  EXPECT_EQ(account("jose")->usri3_full_name, "Jos\xC3\xA9 M\xC3\xBCller \xE2\x82\xAC");
}

// Cancels once `limit` records are done.
class CancelAfter final : public ImportProgress {
 public:
  explicit CancelAfter(std::size_t limit) : m_limit(limit) {}
  bool recordsDone(std::size_t done, std::size_t total) override {
    seen.emplace_back(done, total);
    return done < m_limit;
  }
  std::vector<std::pair<std::size_t, std::size_t>> seen;

 private:
  std::size_t m_limit;
};

TEST_F(UserImport, CancelStopsBetweenRecordsLeavingEachWholeOrUntouched) {
  CancelAfter progress(2);
  const ImportSummary summary =
      importText("UserName\tPassword\tFull Name\tDisabled\nu1\tpw-one\tOne\tYes\n"
                 "u2\tpw-two\tTwo\tYes\nu3\tpw-three\tThree\tYes\n",
                 messages, {}, &progress);
  EXPECT_TRUE(summary.cancelled);
  EXPECT_FALSE(summary.closesWizard());
  EXPECT_EQ(summary.recordsDone, 2u);
  EXPECT_EQ(progress.seen, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 3}, {1, 3}, {2, 3}}));
  // The records done are whole: created and written.
  for (const char* name : {"u1", "u2"}) {
    ASSERT_TRUE(account(name));
    EXPECT_NE(account(name)->usri3_flags & UF_ACCOUNTDISABLE, 0u);
  }
  EXPECT_FALSE(account("u3"));
}

}  // namespace
}  // namespace transfer::test
