// Importing group files into the lab: header lines, member lines, clashes.

#include <gtest/gtest.h>

#include "import_test_support.h"

namespace transfer::test {
namespace {

using Names = std::vector<std::string>;

class GroupImport : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lab) << lab.error(); }
  lab::test::LabFixture lab{"import-domain"};
  ui::ScriptedMessages messages;
};

std::string groupComment(std::string_view name) {
  platform::NetBuffer b;
  if (platform::NetGroupGetInfo(kServer, name, 2, b) == 0) return b.one<platform::GROUP_INFO_2>()->grpi2_comment;
  if (platform::NetLocalGroupGetInfo(kServer, name, 1, b) == 0)
    return b.one<platform::LOCALGROUP_INFO_1>()->lgrpi1_comment;
  return "<none>";
}

// As the Groups display exports it, members shown.
constexpr std::string_view kExported =
    "GroupName\tComment\tUserName\r\n"
    "Engineers\tBuilds things\tAAGROUP_CONTAINER\r\n"
    "Engineers\tBuilds things\talice\r\n"
    "Engineers\tBuilds things\tplain\r\n"
    "Lab Users\tCan use the lab\tAAALOCAL_GROUP_CONTAINER\r\n"
    "Lab Users\tCan use the lab\tplain\r\n"
    "Lab Users\tCan use the lab\tLAB\\Engineers\r\n"
    "Sales\tSelling\tAAGROUP_CONTAINER\r\n"
    "Sales\tSelling\tplain\r\n";

TEST_F(GroupImport, AnExportedGroupListIsCreatedWithCommentsAndMembersAndReimportsAsSuccess) {
  ImportOptions options;
  options.logging = true;
  ImportSummary summary = importText(kExported, messages, options);
  EXPECT_TRUE(summary.allApplied()) << testing::PrintToString(summary.failures);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(summary.groups.added, 2u);
  EXPECT_EQ(summary.groups.unchanged, 1u);  // Sales: its comment is kept
  EXPECT_EQ(summary.membersAdded, 5u);
  EXPECT_EQ(groupComment("Engineers"), "Builds things");
  EXPECT_EQ(globalMembers("Engineers"), (Names{"alice", "plain"}));
  EXPECT_EQ(groupComment("Lab Users"), "Can use the lab");
  // A member without a domain is sent with the server's account domain.
  EXPECT_EQ(localMembers("Lab Users"), (Names{"LAB\\plain", "LAB\\Engineers"}));
  // "Only add new" keeps the existing group's comment; members still join.
  EXPECT_EQ(groupComment("Sales"), "Sales team");
  EXPECT_EQ(globalMembers("Sales"), (Names{"alice", "plain"}));
  EXPECT_EQ(eventTexts(), (Names{"59273 Global Group Added:   Engineers",
                                 "59273 Local Group Added:   Lab Users"}));

  // Again: every member is already there (2236, 1378), which is success.
  const std::string before = lab->toJson();
  summary = importText(kExported, messages);
  EXPECT_TRUE(summary.allApplied()) << testing::PrintToString(summary.failures);
  EXPECT_EQ(summary.groups.added, 0u);
  EXPECT_TRUE(messages.shown().empty());
  EXPECT_EQ(lab->toJson(), before);
}

TEST_F(GroupImport, UpdateAllRewritesCommentsOfGlobalAndLocalGroups) {
  const ImportSummary summary =
      importText("GroupName\tComment\tUserName\nSales\tNew words\tAAGROUP_CONTAINER\n"
                 "Printing\tPrinters\tAAALOCAL_GROUP_CONTAINER\n",
                 messages, updateAll());
  EXPECT_TRUE(summary.allApplied());
  EXPECT_EQ(summary.groups.updated, 2u);
  EXPECT_EQ(groupComment("Sales"), "New words");
  EXPECT_EQ(groupComment("Printing"), "Printers");
}

TEST_F(GroupImport, AClashOfGlobalAndLocalStopsTheImportKeepingEarlierRecords) {
  const ImportSummary summary =
      importText("GroupName\tUserName\nFresh\tAAGROUP_CONTAINER\nSales\tAAALOCAL_GROUP_CONTAINER\n"
                 "Later\tAAGROUP_CONTAINER\n",
                 messages);
  EXPECT_EQ(texts(messages),
            (Names{"Error Importing|A local group is being imported\nwhile a global group of the "
                   "same name\nalready exists.",
                   "veltrane|The Import has failed.\nOperation will cease."}));
  EXPECT_TRUE(summary.stopped);
  EXPECT_FALSE(summary.closesWizard());
  EXPECT_EQ(groupComment("Fresh"), "");  // created, without the placeholder as comment
  EXPECT_EQ(groupComment("Later"), "<none>");

  messages.clear();
  importText("GroupName\tUserName\nPrinting\tAAGROUP_CONTAINER\n", messages);
  EXPECT_EQ(texts(messages).at(0), "Error Importing|A global group is being imported\nwhile a local "
                                   "group of the same name\nalready exists.");
}

TEST_F(GroupImport, AMemberThatCannotBeAddedShowsItsNumberAndStops) {
  // Without a UserName column every line is a member line whose member is
  // the placeholder: the group is made, the member fails.
  const ImportSummary summary =
      importText("GroupName\tComment\nNewLocal\tA comment\nSecond\tx\n", messages);
  const Names shown = texts(messages);
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_TRUE(shown[0].starts_with("Errornum|")) << shown[0];
  EXPECT_EQ(shown[1], "veltrane|The Import has failed.\nOperation will cease.");
  EXPECT_EQ(groupComment("NewLocal"), "A comment");
  EXPECT_EQ(groupComment("Second"), "<none>");
  EXPECT_EQ(summary.groups.failed, 1u);
}

}  // namespace
}  // namespace transfer::test
