// The command table without a window: which registration serves an id on a
// display, and that two features can never both own one.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "window/command_ids.h"
#include "window/command_table.h"

namespace {

using display::DisplayType;
using namespace window;

// A context that is only ever on one display; commands here ask nothing else.
class DisplayOnly final : public WindowContext {
 public:
  explicit DisplayOnly(DisplayType type) : m_type(type) {}
  std::string browseServer() const override { return "\\\\PDC"; }
  settings::SettingsValues& settings() override { return m_settings; }
  const settings::SettingsValues& settings() const override { return m_settings; }
  DisplayType displayType() const override { return m_type; }
  Selection selection() const override { return {}; }
  const std::string& popupTarget() const override { return m_target; }
  ui::Messages& messages() override { std::abort(); }
  ui::FileChooser& files() override { std::abort(); }
  ui::DialogRunner& dialogs() override { std::abort(); }
  ui::PrintChooser& printer() override { std::abort(); }
  display::DisplayViews& views() override { std::abort(); }
  void refresh() override {}
  void setCountText(DisplayType, std::string) override {}
  void settingsApplied(const std::vector<DisplayType>&) override {}
  void showContextMenu() override {}

 private:
  DisplayType m_type;
  settings::SettingsValues m_settings;
  std::string m_target;
};

TEST(CommandTable, TheCurrentDisplayPicksTheRegistrationThatRuns) {
  std::vector<std::string> ran;
  auto record = [&ran](std::string what) {
    return [&ran, what](WindowContext&) { ran.push_back(what); };
  };
  CommandTable table;
  // Add of the Users display and of the Groups display, by two folders; an
  // Add for every other display; Delete only on Users, greyed by its rule.
  ASSERT_TRUE(table.add({.id = kIdAdd, .display = DisplayType::Users, .action = record("user")}));
  ASSERT_TRUE(table.add({.id = kIdAdd, .display = DisplayType::Groups, .action = record("group")}));
  ASSERT_TRUE(table.add({.id = kIdAdd, .action = record("any")}));
  ASSERT_TRUE(table.add({.id = kIdDelete,
                         .display = DisplayType::Users,
                         .action = record("delete"),
                         .enabled = [](const WindowContext&) { return false; }}));
  // A second owner of a command is refused, and the first one stays.
  EXPECT_FALSE(table.add({.id = kIdAdd, .display = DisplayType::Users, .action = record("x")}));
  EXPECT_FALSE(table.add({.id = kIdAdd, .action = record("x")}));
  EXPECT_FALSE(table.add({.id = kIdImport}));  // nothing to run

  DisplayOnly users(DisplayType::Users), groups(DisplayType::Groups), quotas(DisplayType::Quotas);
  EXPECT_TRUE(table.run(kIdAdd, users));
  EXPECT_TRUE(table.run(kIdAdd, groups));
  EXPECT_TRUE(table.run(kIdAdd, quotas));
  EXPECT_EQ(ran, (std::vector<std::string>{"user", "group", "any"}));

  EXPECT_TRUE(table.enabled(kIdAdd, quotas));
  EXPECT_FALSE(table.enabled(kIdDelete, users));     // its rule
  EXPECT_FALSE(table.enabled(kIdDelete, groups));    // registered for Users only
  EXPECT_FALSE(table.enabled(kIdImport, users));     // nobody registered it
  EXPECT_FALSE(table.run(kIdDelete, groups));
  EXPECT_FALSE(table.run(kIdImport, users));
  EXPECT_EQ(ran.size(), 3u);
}

}  // namespace

namespace {

using display::DisplayType;
using namespace window;

std::vector<int> ids(const std::vector<MenuRow>& rows) {
  std::vector<int> out;
  for (const MenuRow& r : rows) out.push_back(r.id);
  return out;
}

// Menus and toolbar are built from the places the commands asked for, not
// from the order the folders happened to register in; one place, one owner.
TEST(CommandTable, CommandsStandWhereTheyAskAndAnOccupiedPlaceIsRefused) {
  CommandTable table;
  auto noop = [](WindowContext&) {};
  auto at = [](int section, int order, const std::string& text) {
    return Placement{
        .menu = MenuPlace{Menu::Tools, section, order}, .text = text, .status = text + " help"};
  };
  ASSERT_TRUE(table.add({.id = 3, .action = noop, .placement = at(1, 20, "&Third")}));
  ASSERT_TRUE(table.add({.id = 1, .action = noop, .placement = at(0, 10, "&First")}));
  ASSERT_TRUE(table.add({.id = 2, .action = noop, .placement = at(1, 10, "&Second")}));
  // A shared item: the place comes from its owner, the actions per display.
  ASSERT_TRUE(table.place(4, at(2, 10, "&Fourth")));
  ASSERT_TRUE(table.add({.id = 4, .display = DisplayType::Users, .action = noop}));

  const std::vector<MenuRow> tools = table.menu(Menu::Tools);
  EXPECT_EQ(ids(tools), (std::vector<int>{1, 0, 2, 3, 0, 4}));  // 0: a separator
  EXPECT_EQ(tools[3].text, "&Third");
  EXPECT_EQ(tools[3].status, "&Third help");
  EXPECT_TRUE(table.menu(Menu::File).empty());

  // The place of "&Second" is taken: the newcomer is refused as a whole,
  // so its action is not registered either.
  EXPECT_FALSE(table.add({.id = 9, .action = noop, .placement = at(1, 10, "&Late")}));
  EXPECT_FALSE(table.registered(9, DisplayType::Users));
  EXPECT_FALSE(table.place(2, at(5, 10, "&Again")));  // placed once only
  EXPECT_FALSE(table.place(8, Placement{.menu = MenuPlace{Menu::Help, 0, 10}}));  // no text
  EXPECT_FALSE(table.place(8, Placement{.text = "&Nowhere"}));
  EXPECT_EQ(ids(table.menu(Menu::Tools)), (std::vector<int>{1, 0, 2, 3, 0, 4}));
  EXPECT_EQ(table.refused(), (std::vector<int>{9, 2, 8, 8}));

  // The toolbar: every section begins with a separator; one slot, one button.
  ASSERT_TRUE(table.place(5, Placement{.tool = ToolPlace{.section = 1, .order = 10, .image = 7}}));
  ASSERT_TRUE(table.place(6, Placement{.tool = ToolPlace{.section = 0, .order = 20, .image = 3,
                                                         .hidden = true}}));
  ASSERT_TRUE(table.place(7, Placement{.tool = ToolPlace{.section = 0, .order = 10, .image = 1}}));
  EXPECT_FALSE(table.place(10, Placement{.tool = ToolPlace{.section = 1, .order = 10}}));
  const std::vector<ToolRow> bar = table.toolbar();
  std::vector<int> barIds;
  for (const ToolRow& r : bar) barIds.push_back(r.id);
  EXPECT_EQ(barIds, (std::vector<int>{0, 7, 6, 0, 5}));
  EXPECT_EQ(bar[4].image, 7);
  EXPECT_TRUE(bar[2].hidden);
}

}  // namespace
