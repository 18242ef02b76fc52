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
