// "Create Homes": directories on shares only, through the platform.

#include <gtest/gtest.h>

#include "import_test_support.h"
#include "platform/files.h"
#include "transfer/import/home_path.h"

namespace transfer::test {
namespace {

bool directoryExists(std::string_view path) {
  platform::FIND_HANDLE handle{};
  platform::WIN32_FIND_DATA data{};
  const bool found = platform::FindFirstFile(path, &handle, &data) == 0;
  if (found) platform::FindClose(handle);
  return found;
}

TEST(HomeImport, HomesAreMadeOnSharesAndAbsentOrPlaceholderHomesAreSkipped) {
  lab::test::LabFixture lab("import-domain");
  ASSERT_TRUE(lab) << lab.error();
  ui::ScriptedMessages messages;
  ImportOptions options;
  options.createHomes = true;
  const ImportSummary summary = importText(
      "UserName\tPassword\tHome\n"
      "ann\tpw-ann\t\\\\FILES\\D$\\Users\\ann\n"
      "ben\tpw-ben\t\n"
      "cat\tpw-cat\t*None*\n"
      "alice\tx\t\\\\FILES\\D$\\Users\\ann\n",  // exists already: fine
      messages, options);
  EXPECT_TRUE(summary.allApplied()) << testing::PrintToString(summary.failures);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(summary.homesCreated, 1u);
  EXPECT_TRUE(directoryExists("\\\\FILES\\D$\\Users\\ann"));
  EXPECT_FALSE(directoryExists("\\\\FILES\\D$\\Users\\*None*"));

  // No Home column: nothing to create, nothing said.
  const std::string before = lab->toJson();
  EXPECT_TRUE(importText("UserName\tPassword\ndan\tpw-dan\n", messages, options).allApplied());
  EXPECT_TRUE(messages.shown().empty());
}

TEST(HomeImport, PathsOffASharesAreRefusedAndFailuresShowTheirNumber) {
  lab::test::LabFixture lab("import-domain");
  ASSERT_TRUE(lab) << lab.error();
  ui::ScriptedMessages messages;
  ImportOptions options;
  options.createHomes = true;
  options.askToContinue = false;
  const ImportSummary summary = importText(
      "UserName\tPassword\tHome\n"
      "u1\tpw-one\tC:\\Users\\u1\n"                        // this machine's own disk
      "u2\tpw-two\t\\\\FILES\\D$\\Users\\..\\..\\u2\n"     // climbing out
      "u3\tpw-three\t\\\\FILES\\E$\\u3\n"                   // a CD: access denied
      "u4\tpw-four\t\\\\FILES\\D$\\Nowhere\\u4\n",          // no parent
      messages, options);
  EXPECT_FALSE(summary.allApplied());
  EXPECT_EQ(summary.homesFailed, 4u);
  EXPECT_EQ(summary.users.added, 4u);  // the accounts themselves are done
  std::vector<std::string> expected = {"Error creating home directories.|123",
                                       "Error creating home directories.|123",
                                       "Error creating home directories.|5",
                                       "Error creating home directories.|3"};
  EXPECT_EQ(texts(messages), expected);
  EXPECT_FALSE(directoryExists("C:\\Users\\u1"));
  EXPECT_FALSE(directoryExists("\\\\FILES\\D$\\u2"));

  EXPECT_TRUE(isShareDirectoryPath("\\\\FILES\\D$\\Users\\u1"));
  for (const std::string_view bad :
       {"\\\\FILES\\D$", "\\\\FILES\\D$\\", "\\\\\\D$\\x", "/etc/passwd", "\\\\FILES\\D$\\a/b",
        "\\\\FILES\\D$\\.\\x", "Users\\x", "\\\\FILES\\D$\\a\\\\b", "\\\\FILES\\D$\\a\x01"})
    EXPECT_FALSE(isShareDirectoryPath(bad)) << bad;
}

}  // namespace
}  // namespace transfer::test
