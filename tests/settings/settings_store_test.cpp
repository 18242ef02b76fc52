#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/lab/lab.h"
#include "../support/lab_fixture.h"
#include "platform/registry.h"
#include "settings/remembered_choices.h"
#include "settings/settings_store.h"
#include "ui/scripted_messages.h"

namespace {

using namespace platform;
using settings::ServerList;
using settings::SettingsStore;
using settings::SettingsValues;

constexpr const char* kLab = R"({
  "format": 1,
  "localMachine": "WS1",
  "loggedOn": "LAB\\Administrator",
  "domains": [{
    "name": "LAB", "sid": "S-1-5-21-1-2-3", "pdc": "PDC",
    "users": [{"name": "Administrator"}, {"name": "joe"}],
    "groups": [{"name": "Domain Admins", "members": ["Administrator"]}],
    "localGroups": [{"name": "Administrators", "rid": 544, "members": ["LAB\\Domain Admins"]}]
  }],
  "machines": [
    {"name": "PDC", "domain": "LAB",
     "type": ["SV_TYPE_WORKSTATION", "SV_TYPE_SERVER", "SV_TYPE_DOMAIN_CTRL", "SV_TYPE_NT"]},
    {"name": "WS1", "domain": "LAB", "type": ["SV_TYPE_WORKSTATION", "SV_TYPE_NT"],
     "accounts": {"localGroups": [{"name": "Administrators", "rid": 544,
                                   "members": ["LAB\\Domain Admins"]}]}}
  ]
})";

class SettingsStoreTest : public ::testing::Test {
 protected:
  SettingsStoreTest() {
    m_lab = lab::test::labFromText(kLab, "settings-test");
    m_scope.serveLab(m_lab);
  }

  RegKey programKey() { return openKey(HKEY_CURRENT_USER, settings::kProgramKey); }
  RegKey quotaKey() { return openKey(HKEY_LOCAL_MACHINE, settings::kQuotaServiceKey); }

  RegKey openKey(HKEY root, std::string_view path) {
    RegKey key;
    DWORD disposition = 0;
    EXPECT_EQ(RegCreateKeyEx(root, path, 0, KEY_ALL_ACCESS, key.out(), &disposition),
              ERROR_SUCCESS);
    return key;
  }

  void putText(HKEY key, std::string_view name, std::string_view text) {
    ASSERT_EQ(RegSetValueEx(key, name, REG_SZ, regSzBytes(text)), ERROR_SUCCESS);
  }
  void putDword(HKEY key, std::string_view name, DWORD value) {
    ASSERT_EQ(RegSetValueEx(key, name, REG_DWORD, regDwordBytes(value)), ERROR_SUCCESS);
  }

  struct Raw {
    DWORD type = 0;
    std::vector<std::uint8_t> bytes;
  };
  Raw raw(HKEY key, std::string_view name) {
    std::vector<std::uint8_t> area(4096);
    Raw r;
    DWORD size = static_cast<DWORD>(area.size());
    EXPECT_EQ(RegQueryValueEx(key, name, &r.type, area, &size), ERROR_SUCCESS) << name;
    area.resize(size);
    r.bytes = area;
    return r;
  }

  SettingsValues load(ServerList& servers) {
    SettingsValues values;
    SettingsStore(m_messages, "veltrane").load(values, servers);
    return values;
  }

  std::shared_ptr<lab::Lab> m_lab;
  lab::test::ServedBackend m_scope;
  ui::ScriptedMessages m_messages;
};

TEST_F(SettingsStoreTest, FreshUserGetsEveryDefaultAndKeepsTheStartUpServer) {
  ServerList servers{{"\\\\PDC"}, 0};
  const std::string before = m_lab->toJson();
  SettingsValues v = load(servers);
  EXPECT_EQ(m_lab->toJson(), before) << "reading the settings creates nothing";

  SettingsValues defaults;
  EXPECT_EQ(v.u_disabled, 1u);
  EXPECT_EQ(v.u_quick_viewing, 0u);
  EXPECT_EQ(v.traverse_search, 0u);
  EXPECT_EQ(v.f_file_denial, 0u);
  EXPECT_EQ(v.f_directory_denial, 0u);
  EXPECT_EQ(v.f_directories_only, 0u);
  EXPECT_EQ(v.s_show_extra_entries, 0u);
  EXPECT_EQ(v.s_WFW, 1u);
  EXPECT_EQ(v.n_Shares_Printer, 1u);
  EXPECT_EQ(v.f_root_path, "C:\\");
  EXPECT_EQ(v.browse_priority, 2u);
  EXPECT_EQ(v.e_logging_onoff, 0u);
  EXPECT_EQ(v.x_export_type, 0u);
  EXPECT_EQ(v.SleepTime, 15u);
  EXPECT_EQ(v.WarningLevel, 81u);
  EXPECT_EQ(v.q_default_quota_size, 10000u);
  EXPECT_EQ(servers.entries, std::vector<std::string>{"\\\\PDC"});
  EXPECT_EQ(servers.selected, 0);
  EXPECT_TRUE(m_messages.shown().empty());
}

TEST_F(SettingsStoreTest, OnlyTheExactTextTrueTurnsAFlagOn) {
  struct Row {
    const char* stored;
    std::uint32_t expected;
  };
  const Row rows[] = {{"TRUE", 1}, {"true", 0}, {"True", 0}, {"FALSE", 0}, {"", 0}, {"TRUE ", 0}};
  for (const Row& row : rows) {
    RegKey key = programKey();
    putText(key.get(), "u_disabled", row.stored);    // default on
    putText(key.get(), "traverse_search", row.stored);  // default off
    ServerList servers;
    SettingsValues v = load(servers);
    EXPECT_EQ(v.u_disabled, row.expected) << row.stored;
    EXPECT_EQ(v.traverse_search, row.expected) << row.stored;
  }
}

TEST_F(SettingsStoreTest, ValuesOfTheWrongSizeOrTooLongForTheReadAreaKeepTheirDefault) {
  RegKey key = programKey();
  // A number must be exactly four bytes.
  std::vector<std::uint8_t> eight(8, 1);
  ASSERT_EQ(RegSetValueEx(key.get(), "browse_priority", REG_BINARY, eight), ERROR_SUCCESS);
  std::vector<std::uint8_t> two{3, 0};
  ASSERT_EQ(RegSetValueEx(key.get(), "x_export_type", REG_BINARY, two), ERROR_SUCCESS);
  // A text of 999 characters fits the read area with its terminator; 1000 do not.
  putText(key.get(), "f_root_path", std::string(1000, 'x'));
  putText(key.get(), "servers_file", std::string(999, 'y'));

  ServerList servers;
  SettingsValues v = load(servers);
  EXPECT_EQ(v.browse_priority, 2u);
  EXPECT_EQ(v.x_export_type, 0u);
  EXPECT_EQ(v.f_root_path, "C:\\");
  EXPECT_EQ(v.servers_file, std::string(999, 'y'));
}

TEST_F(SettingsStoreTest, SaveWritesEveryFormWithItsExactStoredSizeAndLoadReadsItBack) {
  SettingsValues v;
  v.u_disabled = 0;
  v.traverse_search = 1;
  v.g_show_members = 1;
  v.s_show_extra_entries = 7;  // any word but 1 is saved as "FALSE"
  v.f_root_path = "\\\\FS\\DATA";
  v.f_display_type = 2;
  v.browse_priority = 4;
  v.e_logging_onoff = 1;
  v.x_export_type = 2;
  v.servers_file = "servers.txt";
  v.Version = "something else";
  v.SleepTime = 30;
  v.WarningLevel = 90;
  v.q_default_quota_size = 5000;
  SettingsStore(m_messages, "veltrane").save(v);

  RegKey key = programKey();
  Raw flagOff = raw(key.get(), "u_disabled");
  EXPECT_EQ(flagOff.type, REG_SZ);
  EXPECT_EQ(flagOff.bytes, regSzBytes("FALSE"));  // six bytes, zero counted
  EXPECT_EQ(raw(key.get(), "traverse_search").bytes, regSzBytes("TRUE"));
  EXPECT_EQ(raw(key.get(), "s_show_extra_entries").bytes, regSzBytes("FALSE"));
  EXPECT_EQ(raw(key.get(), "f_root_path").bytes.size(), std::string("\\\\FS\\DATA").size() + 1);
  Raw priority = raw(key.get(), "browse_priority");
  EXPECT_EQ(priority.type, REG_DWORD);
  EXPECT_EQ(priority.bytes, regDwordBytes(4));
  EXPECT_EQ(raw(key.get(), "Version").bytes, regSzBytes("Release 2.20 QV"));
  EXPECT_EQ(raw(key.get(), "Build").bytes, regSzBytes("Build210"));
  EXPECT_EQ(raw(key.get(), "q_quota_check_rate").bytes, regDwordBytes(30));
  EXPECT_EQ(raw(key.get(), "q_warning_percentage").bytes, regDwordBytes(90));
  EXPECT_EQ(raw(key.get(), "ServersToBrowse").bytes, regSzBytes(""));
  RegKey quota = quotaKey();
  EXPECT_EQ(raw(quota.get(), "SleepTime").bytes, regDwordBytes(30000));
  EXPECT_EQ(raw(quota.get(), "WarningLevel").bytes, regDwordBytes(90));

  ServerList servers;
  SettingsValues back = load(servers);
  EXPECT_EQ(back.u_disabled, 0u);
  EXPECT_EQ(back.traverse_search, 1u);
  EXPECT_EQ(back.g_show_members, 1u);  // stored as chosen; the window forces it off
  EXPECT_EQ(back.s_show_extra_entries, 0u);
  EXPECT_EQ(back.f_root_path, "\\\\FS\\DATA");
  EXPECT_EQ(back.f_display_type, 2u);
  EXPECT_EQ(back.browse_priority, 4u);
  EXPECT_EQ(back.e_logging_onoff, 1u);
  EXPECT_EQ(back.x_export_type, 2u);
  EXPECT_EQ(back.servers_file, "servers.txt");
  EXPECT_EQ(back.Version, "Release 2.20 QV");
  EXPECT_EQ(back.SleepTime, 30u);
  EXPECT_EQ(back.WarningLevel, 90u);
  EXPECT_EQ(back.q_default_quota_size, 5000u);
}

TEST_F(SettingsStoreTest, CheckRateIsHeldInWholeSeconds) {
  RegKey quota = quotaKey();
  putDword(quota.get(), "SleepTime", 2500);
  ServerList servers;
  SettingsValues v = load(servers);
  EXPECT_EQ(v.SleepTime, 2u);
  SettingsStore(m_messages, "veltrane").save(v);
  EXPECT_EQ(raw(quota.get(), "SleepTime").bytes, regDwordBytes(2000));
}

TEST_F(SettingsStoreTest, StoredBrowseListReplacesTheComboAndDropsAnUnterminatedLastName) {
  RegKey key = programKey();
  putText(key.get(), "BrowseServers", "\\\\FS\n\\\\PDC\n\\\\LAST");
  ServerList servers{{"\\\\START"}, 0};
  load(servers);
  EXPECT_EQ(servers.entries, (std::vector<std::string>{"\\\\FS", "\\\\PDC"}));
  EXPECT_EQ(servers.selected, 0);

  SettingsStore(m_messages, "veltrane").saveBrowseList({"\\\\B", "\\\\A", "\\\\C"});
  EXPECT_EQ(raw(key.get(), "BrowseServers").bytes, regSzBytes("\\\\B\n\\\\A\n\\\\C\n"));
  ServerList again{{"\\\\START"}, 0};
  load(again);
  EXPECT_EQ(again.entries, (std::vector<std::string>{"\\\\B", "\\\\A", "\\\\C"}));
}

TEST_F(SettingsStoreTest, WithoutRightsToTheQuotaServiceKeyItsValuesAreNeitherReadNorWritten) {
  putDword(quotaKey().get(), "SleepTime", 60000);  // as an administrator
  m_lab->logOn("LAB\\joe");

  ServerList servers;
  SettingsValues v = load(servers);
  EXPECT_EQ(v.SleepTime, 15u);
  EXPECT_EQ(v.WarningLevel, 81u);
  v.SleepTime = 5;
  SettingsStore(m_messages, "veltrane").save(v);
  EXPECT_TRUE(m_messages.shown().empty());
  EXPECT_EQ(raw(programKey().get(), "q_quota_check_rate").bytes, regDwordBytes(5));

  m_lab->logOn("LAB\\Administrator");
  EXPECT_EQ(raw(quotaKey().get(), "SleepTime").bytes, regDwordBytes(60000));
}

TEST_F(SettingsStoreTest, ATextTooLongToBeReadBackIsNotWrittenOverTheStoredOne) {
  SettingsValues v;
  v.f_root_path = "D:\\shares";
  SettingsStore(m_messages, "veltrane").save(v);
  v.f_root_path = std::string(1200, 'p');
  SettingsStore(m_messages, "veltrane").save(v);
  ServerList servers;
  EXPECT_EQ(load(servers).f_root_path, "D:\\shares");
}

TEST(BrowseListText, AJoinedListKeepsWholeNamesThatALoadCanReadBack) {
  std::vector<std::string> many(200, "\\\\SERVER-NAME");  // 14 bytes a name with its line feed
  std::string joined = settings::joinBrowseList(many);
  EXPECT_LT(joined.size(), settings::kReadAreaBytes);
  EXPECT_EQ(joined.back(), '\n');
  auto names = settings::splitBrowseList(joined);
  EXPECT_EQ(names.size(), joined.size() / 14);
  EXPECT_EQ(settings::splitBrowseList(""), std::vector<std::string>{});
  EXPECT_EQ(settings::splitBrowseList("\n"), std::vector<std::string>{""});
}

TEST(SettingsStoreWithoutRegistry, FailuresAreReportedOnceAndEverythingStaysAsItWas) {
  ScopedBackend none(nullptr);  // every registry call fails
  ui::ScriptedMessages messages;
  SettingsStore store(messages, "veltrane");

  SettingsValues v;
  v.browse_priority = 3;
  ServerList servers{{"\\\\PDC"}, 0};
  store.load(v, servers);
  ASSERT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(messages.shown()[0].text, "Failed to create/open registry key. Defaults will be used.");
  EXPECT_EQ(messages.shown()[0].caption, "veltrane");
  EXPECT_EQ(v.browse_priority, 3u);
  EXPECT_EQ(servers.entries, std::vector<std::string>{"\\\\PDC"});

  messages.clear();
  store.save(v);
  ASSERT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(messages.shown()[0].text, "Could not write data to registry.");

  messages.clear();
  store.saveBrowseList({"\\\\PDC"});
  EXPECT_TRUE(messages.shown().empty());
}

}  // namespace

namespace {

// The last export's folder and format and the window's place come back at
// the next start; values that are missing or out of range are not made up.
TEST_F(SettingsStoreTest, RememberedChoicesComeBackAndBadValuesAreLeftUnset) {
  EXPECT_EQ(settings::loadRememberedChoices(), settings::RememberedChoices{});  // a fresh user

  settings::RememberedChoices choices;
  choices.exportFolder = "/home/ann/exports";
  choices.exportFilter = 1;
  choices.window = settings::WindowPlace{-1200, 40, 900, 650};  // a screen left of the first
  settings::saveRememberedChoices(choices);
  EXPECT_EQ(settings::loadRememberedChoices(), choices);

  // The settings sheet's OK writes the settings, not these.
  SettingsStore store(m_messages, "veltrane");
  store.save(SettingsValues{});
  EXPECT_EQ(settings::loadRememberedChoices(), choices);

  RegKey key = programKey();
  putDword(key.get(), "x_last_filter", 7);
  putText(key.get(), "w_width", "900");  // a text is no number
  const settings::RememberedChoices loaded = settings::loadRememberedChoices();
  EXPECT_EQ(loaded.exportFolder, "/home/ann/exports");
  EXPECT_FALSE(loaded.exportFilter.has_value());
  EXPECT_FALSE(loaded.window.has_value());
}

}  // namespace
