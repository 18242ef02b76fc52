#include <gtest/gtest.h>

#include <algorithm>

#include "session/column_sets.h"

namespace display {
namespace {

struct SetRow {
  DisplayType type;
  settings::Word filesForm;
  std::size_t count;
  int index;
  std::string_view header;
  int width;
};

class ColumnSetTest : public ::testing::TestWithParam<SetRow> {};

TEST_P(ColumnSetTest, HeaderAndWidthAtIndex) {
  const SetRow& row = GetParam();
  settings::SettingsValues values;
  values.f_display_type = row.filesForm;
  values.s_show_extra_entries = 1;
  values.g_show_members = 1;
  const auto layout = columnLayout(row.type, values);
  ASSERT_EQ(layout.size(), row.count);
  EXPECT_EQ(layout[static_cast<std::size_t>(row.index)].header, row.header);
  EXPECT_EQ(layout[static_cast<std::size_t>(row.index)].width, row.width);
}

INSTANTIATE_TEST_SUITE_P(
    EveryList, ColumnSetTest,
    ::testing::Values(SetRow{DisplayType::Files, 0, 4, 1, "Filesize in use", 120},
                      SetRow{DisplayType::Files, 2, 3, 2, "Rights", 120},
                      SetRow{DisplayType::Groups, 0, 3, 1, "Comment", 240},
                      SetRow{DisplayType::Groups, 0, 3, 2, "UserName", 120},
                      SetRow{DisplayType::Quotas, 0, 5, 4, "Usage KB", 120},
                      SetRow{DisplayType::Servers, 0, 33, 14, "W95/WFW", 40},
                      SetRow{DisplayType::Servers, 0, 33, 21, "OSF", 40},
                      SetRow{DisplayType::Servers, 0, 33, 24, "Version", 75},
                      SetRow{DisplayType::Servers, 0, 33, 32, "ExtraInfo5", 150},
                      SetRow{DisplayType::Users, 0, 22, 4, "Acct.Expires", 50},
                      SetRow{DisplayType::Users, 0, 22, 17, "Active", 50},
                      SetRow{DisplayType::Users, 0, 22, 21, "RAS type", 100}));

// A setting switched off hides its column in place: the count never changes.
struct HiddenRow {
  DisplayType type;
  settings::Word settings::SettingsValues::*setting;
  std::vector<int> hidden;
};

class HiddenColumnTest : public ::testing::TestWithParam<HiddenRow> {};

TEST_P(HiddenColumnTest, OffSettingGivesWidthZeroAtFixedIndex) {
  const HiddenRow& row = GetParam();
  settings::SettingsValues on;
  on.g_show_members = 1;
  on.s_show_extra_entries = 1;
  settings::SettingsValues off = on;
  off.*row.setting = 0;
  const auto shown = columnLayout(row.type, on);
  const auto layout = columnLayout(row.type, off);
  ASSERT_EQ(layout.size(), shown.size());
  for (std::size_t i = 0; i < layout.size(); ++i) {
    const bool expectHidden =
        std::find(row.hidden.begin(), row.hidden.end(), static_cast<int>(i)) != row.hidden.end();
    EXPECT_EQ(layout[i].hidden(), expectHidden) << "column " << i;
    EXPECT_EQ(layout[i].header, shown[i].header);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Settings, HiddenColumnTest,
    ::testing::Values(
        HiddenRow{DisplayType::Users, &settings::SettingsValues::u_ras_allow, {19, 20, 21}},
        HiddenRow{DisplayType::Users, &settings::SettingsValues::u_is_active_now, {17}},
        HiddenRow{DisplayType::Users, &settings::SettingsValues::u_last_pwdchange, {18}},
        HiddenRow{DisplayType::Groups, &settings::SettingsValues::g_show_members, {2}},
        HiddenRow{DisplayType::Servers, &settings::SettingsValues::s_DSF, {21}},
        HiddenRow{DisplayType::Servers, &settings::SettingsValues::s_show_extra_entries,
                  {28, 29, 30, 31, 32}}));

TEST(ColumnSets, TreesAndEmptyListsHaveNone) {
  settings::SettingsValues values;
  for (DisplayType t : {DisplayType::Network, DisplayType::Performance, DisplayType::Licenses,
                        DisplayType::None})
    EXPECT_FALSE(hasColumnSet(t, values)) << static_cast<int>(t);
  values.f_display_type = 1;
  EXPECT_FALSE(hasColumnSet(DisplayType::Files, values));
  values.f_display_type = 7;  // unknown form: the size-per-user list
  EXPECT_EQ(columnLayout(DisplayType::Files, values).size(), 4u);
}

}  // namespace
}  // namespace display
