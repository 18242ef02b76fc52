// One display's browse without a window, as the unattended run makes it:
// the lab's accounts become the display's rows, a tree display's lines its
// nodes, and the content answers find, filter, sort and selection by record.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "../support/lab_fixture.h"
#include "platform/netapi.h"
#include "session/display_contents.h"
#include "session/display_session.h"
#include "session/fill_messages.h"
#include "ui/scripted_messages.h"

namespace {

using display::DisplayType;
using session::BrowseRequest;
using session::DisplaySession;

class DisplaySessionTest : public ::testing::Test {
 protected:
  DisplaySessionTest() : m_lab(lab::generateLab({.users = 40, .groups = 5, .localGroups = 2,
                                                 .servers = 3, .domainControllers = 1,
                                                 .membersPerGroup = 4})) {
    platform::NetGetDCName({}, {}, &m_server);
  }

  session::FillOutcome browse(DisplaySession& display, settings::SettingsValues values = {}) {
    return display.browse({display.type(), m_server, std::move(values), {}}, m_messages);
  }

  std::vector<std::string> column(const session::DisplayContent& content, int column) const {
    std::vector<std::string> texts;
    for (std::size_t row = 0; row < content.rowCount(); ++row)
      texts.push_back(content.cellText(row, column));
    return texts;
  }

  lab::test::LabFixture m_lab;
  std::string m_server;
  ui::ScriptedMessages m_messages;
};

TEST_F(DisplaySessionTest, UsersBrowseHoldsEveryAccountWithItsCellsAndTheDomainInFront) {
  ASSERT_TRUE(m_lab) << m_lab.error();
  DisplaySession users(DisplayType::Users);
  const session::FillOutcome outcome = browse(users);
  ASSERT_TRUE(outcome.filled);
  EXPECT_TRUE(outcome.messages.empty());
  EXPECT_TRUE(m_messages.shown().empty());

  platform::NetBuffer all;
  platform::DWORD read = 0, total = 0, resume = 0;
  ASSERT_EQ(platform::NetUserEnum(m_server, 0, platform::FILTER_NORMAL_ACCOUNT, all, 0xFFFFFFFF,
                                  &read, &total, &resume),
            platform::NERR_Success);
  const session::DisplayContent& shown = users.content();
  ASSERT_EQ(shown.rowCount(), read);
  EXPECT_EQ(outcome.count, std::to_string(read));
  EXPECT_EQ(shown.columns().size(), 22u);
  std::vector<std::string> names = column(shown, 0);
  for (const auto& user : all.get<platform::USER_INFO_0>())
    EXPECT_NE(std::find(names.begin(), names.end(), user.usri0_name), names.end())
        << user.usri0_name;
  // "Disabled" reads Yes or No for every account; no cell is cut short.
  for (const std::string& disabled : column(shown, 5))
    EXPECT_TRUE(disabled == "Yes" || disabled == "No") << disabled;
  EXPECT_NE(users.serverText().find(m_server), std::string::npos);
  EXPECT_GT(users.serverText().size(), m_server.size()) << "the domain goes in front";
}

TEST_F(DisplaySessionTest, AServerThatCannotBeBrowsedLeavesNoRowsAndSaysWhy) {
  ASSERT_TRUE(m_lab) << m_lab.error();
  DisplaySession groups(DisplayType::Groups);
  const session::FillOutcome outcome =
      groups.browse({DisplayType::Groups, "\\\\NOSUCHSERVER", {}, {}}, m_messages);
  EXPECT_EQ(groups.content().rowCount(), 0u);
  EXPECT_EQ(outcome.count, "0");
  EXPECT_EQ(outcome.messages, std::vector<std::string>{std::string(display::kCannotBrowseText)});
}

TEST_F(DisplaySessionTest, ContentFindsFiltersSortsAndSelectsByRecord) {
  ASSERT_TRUE(m_lab) << m_lab.error();
  DisplaySession users(DisplayType::Users);
  ASSERT_TRUE(browse(users).filled);
  auto& shown = const_cast<session::DisplayContent&>(users.content());
  const std::size_t all = shown.rowCount();
  ASSERT_GT(all, 3u);

  // Sorting reverses on the second click of a column; the rows stay whole.
  ASSERT_TRUE(shown.sortBy(0, display::sorting::Routine::First));
  const std::vector<std::string> up = column(shown, 0);
  ASSERT_TRUE(shown.sortBy(0, display::sorting::Routine::Second));
  std::vector<std::string> down = column(shown, 0);
  std::reverse(down.begin(), down.end());
  EXPECT_EQ(down, up);

  // A filter keeps one account's row; the next filter starts from all again.
  const std::string one = up[1];
  const dlgthreads::RecordMatcher exactly({.text = one, .entireString = true, .column = 0});
  EXPECT_EQ(shown.filter(exactly), 1u);
  EXPECT_EQ(column(shown, 0), std::vector<std::string>{one});
  EXPECT_TRUE(shown.rowMatches(0, exactly));
  window::Selection selection;
  shown.select(0, selection);
  ASSERT_EQ(selection.users.size(), 1u);
  EXPECT_EQ(selection.users[0]->name, one);
  EXPECT_EQ(shown.filter(dlgthreads::RecordMatcher({.text = ""})), all);
}

TEST_F(DisplaySessionTest, TreeDisplaysHoldNodesAndDisplaysWithoutAWorkerHoldNothing) {
  ASSERT_TRUE(m_lab) << m_lab.error();
  DisplaySession network(DisplayType::Network);
  ASSERT_TRUE(browse(network).filled);
  const session::DisplayTree* tree = network.content().tree();
  ASSERT_NE(tree, nullptr);
  const std::vector<session::TreeLine> lines = session::depthFirst(*tree);
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(*lines[0].text, "root");
  EXPECT_EQ(lines[0].depth, 0);
  EXPECT_EQ(*lines[1].text, "Microsoft Windows Network");
  // Every node is one level below the node it follows or at most as deep.
  for (std::size_t i = 1; i < lines.size(); ++i)
    EXPECT_LE(lines[i].depth, lines[i - 1].depth + 1) << *lines[i].text;

  DisplaySession idle(DisplayType::Licenses);
  EXPECT_FALSE(browse(idle).filled);
  EXPECT_EQ(idle.content().rowCount(), 0u);
}

}  // namespace
