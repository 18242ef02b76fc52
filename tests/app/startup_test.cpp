#include <QComboBox>
#include <QThread>
#include <filesystem>

#include "app/command_line.h"
#include "app/window_texts.h"
#include "platform/registry.h"
#include "app_test_support.h"
#include "resources/strings.h"
#include "settings/settings_store.h"

namespace {

using apptest::WindowTest;

TEST_F(WindowTest, StartsOnTheDomainsPrimaryDomainController) {
  ASSERT_TRUE(makeWindow());
  EXPECT_EQ(m_window->serverCombo()->currentText(), "\\\\PDC");
  EXPECT_EQ(m_window->statusText(0), "Ready");
  EXPECT_EQ(m_window->statusText(1), "Administrator");
  EXPECT_TRUE(m_messages->shown().empty());
}

TEST_F(WindowTest, FallsBackToTheWorkstationWithoutADomainController) {
  ASSERT_TRUE(m_lab->refuseOperation("WS1", "NetGetDCName", platform::NERR_DCNotFound));
  ASSERT_TRUE(makeWindow());
  EXPECT_EQ(m_window->serverCombo()->currentText(), "\\\\WS1");
  EXPECT_TRUE(m_messages->shown().empty());
}

TEST_F(WindowTest, EndsWithTheTerminationMessageWhenNoServerCanBeFound) {
  ASSERT_TRUE(m_lab->refuseOperation("WS1", "NetGetDCName", platform::NERR_DCNotFound));
  ASSERT_TRUE(m_lab->refuseOperation("WS1", "NetWkstaGetInfo", platform::ERROR_ACCESS_DENIED));
  EXPECT_FALSE(makeWindow());
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text, res::str(app::kStrNoDomainController));
  EXPECT_EQ(m_messages->shown()[0].caption, "Veltrane");
  EXPECT_TRUE(m_window->closing());
}

TEST_F(WindowTest, AStoredServerListWithoutTheControllerLeavesNoSelection) {
  // Save a list that does not hold the start-up server, then start again.
  {
    ASSERT_TRUE(makeWindow());
    settings::SettingsStore store(*m_messages, "veltrane");
    store.saveBrowseList({"\\\\ZED", "\\\\ALPHA"});
  }
  ASSERT_TRUE(makeWindow());
  QComboBox* combo = m_window->serverCombo();
  ASSERT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(0), "\\\\ALPHA");  // sorted
  EXPECT_EQ(combo->currentIndex(), -1);
}

TEST_F(WindowTest, NTPlatformIsAccepted) {
  EXPECT_TRUE(app::platformSupported(*m_messages));
  EXPECT_TRUE(m_messages->shown().empty());
}

TEST(Startup, OtherPlatformsAreRefusedWithOneMessage) {
  apptest::testApp();
  std::string json = apptest::windowLabJson();
  json.insert(json.find('{') + 1, "\"system\": {\"platformId\": 1},");
  std::string error;
  auto lab = lab::labFromJson(json, "windows-95", &error);
  ASSERT_TRUE(lab) << error;
  platform::ScopedBackend backend(lab::makeLabBackend(lab));
  ui::ScriptedMessages messages;
  EXPECT_FALSE(app::platformSupported(messages));
  ASSERT_EQ(messages.shown().size(), 1u);
  EXPECT_EQ(messages.shown()[0].text, res::str(app::kStrUnsupportedPlatform));
  EXPECT_EQ(messages.shown()[0].caption, "Brisle's Veltrane");
}

TEST(Startup, ABadLabFileGivesAClearError) {
  const std::string path = testing::TempDir() + "/broken-lab.json";
  { std::ofstream(path) << "{ \"format\": 1, \"domains\": [ }"; }
  std::string error;
  app::Options options;
  options.labFile = path;
  EXPECT_EQ(app::makeBackend(app::backendCatalog(), options, &error), nullptr);
  EXPECT_NE(error.find("broken-lab.json"), std::string::npos) << error;
  error.clear();
  options.labFile = "/nonexistent/lab.json";
  EXPECT_EQ(app::makeBackend(app::backendCatalog(), options, &error), nullptr);
  EXPECT_FALSE(error.empty());
  // A loader text over several lines still makes one line.
  EXPECT_EQ(app::backendFailureLine("lab", "lab.json: line 3:\n  unexpected '}'\r\n"),
            "the lab could not be loaded: lab.json: line 3: unexpected '}'");
  EXPECT_EQ(app::backendFailureLine("samba", "DC1: no answer\n"),
            "the samba backend could not start: DC1: no answer");
  error.clear();
  options.labFile.clear();
  options.backend = "nowhere";
  EXPECT_EQ(app::makeBackend(app::backendCatalog(), options, &error), nullptr);
  EXPECT_NE(error.find("unknown backend \"nowhere\""), std::string::npos) << error;
}

TEST(Startup, ANetworkBackendKeepsTheSettingsInTheUsersSettingsFile) {
  const std::string config = testing::TempDir() + "/startup-config";
  std::filesystem::remove_all(config);
  setenv("XDG_CONFIG_HOME", config.c_str(), 1);
  platform::BackendCatalog catalog;
  catalog.add("accounts", [](const platform::BackendOptions&, std::string*) {
    return std::make_shared<platform::Backend>();
  });
  app::Options options;
  options.backend = "accounts";
  std::string error;
  auto backend = app::makeBackend(catalog, options, &error);
  ASSERT_TRUE(backend) << error;
  ASSERT_TRUE(backend->local);
  platform::ScopedBackend scope(backend);
  {
    platform::RegKey key;
    ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, "Software\\Test", 0,
                                       platform::KEY_ALL_ACCESS, key.out(), nullptr),
              0);
    ASSERT_EQ(platform::RegSetValueEx(key.get(), "x", platform::REG_DWORD,
                                      platform::regDwordBytes(1)),
              0);
  }
  unsetenv("XDG_CONFIG_HOME");
  EXPECT_TRUE(std::filesystem::exists(config + "/veltrane/registry.json"));
}

struct OptionsRow {
  std::vector<std::string> args;
  bool ok;
  std::string lab;
  std::string screenshot;
  bool splash;
  std::vector<std::string> words = {};
};

class Options : public ::testing::TestWithParam<OptionsRow> {};

TEST_P(Options, Parse) {
  const OptionsRow& row = GetParam();
  const app::OptionsResult r = app::parseOptions(row.args);
  ASSERT_EQ(r.options.has_value(), row.ok) << r.error;
  if (!row.ok) {
    EXPECT_FALSE(r.error.empty());
    return;
  }
  EXPECT_EQ(r.options->labFile, row.lab);
  EXPECT_EQ(r.options->screenshot, row.screenshot);
  EXPECT_EQ(r.options->splash, row.splash);
  EXPECT_EQ(r.options->autoWords, row.words);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Options,
    ::testing::Values(OptionsRow{{}, true, "", "", true},
                      OptionsRow{{"--lab", "a.json"}, true, "a.json", "", true},
                      OptionsRow{{"--lab=b.json", "--no-splash"}, true, "b.json", "", false},
                      OptionsRow{{"--screenshot", "s.png"}, true, "", "s.png", true},
                      OptionsRow{{"--lab"}, false, "", "", true},
                      OptionsRow{{"--lab="}, false, "", "", true},
                      OptionsRow{{"--bogus"}, false, "", "", true},
                      OptionsRow{{"--backend", "lab", "--lab", "x.json"}, true, "x.json", "", true},
                      OptionsRow{{"--backend"}, false, "", "", true},
                      // A lab file means nothing to another backend.
                      OptionsRow{{"--backend=samba", "--lab", "x.json"}, false, "", "", true},
                      // Every other argument is one word of an unattended request.
                      OptionsRow{{"users"}, true, "", "", true, {"users"}},
                      OptionsRow{{"--lab", "l.json", "users", "PDC", "a b.txt"},
                                 true, "l.json", "", true, {"users", "PDC", "a b.txt"}}));

struct AutoRow {
  const char* line;
  bool ok;
  display::DisplayType type;
  settings::Word files;
  const char* server;
  const char* file;
  const char* start;
};

class AutoCommandLine : public ::testing::TestWithParam<AutoRow> {};

TEST_P(AutoCommandLine, Parse) {
  const AutoRow& row = GetParam();
  const auto c = app::parseAutoCommandLine(row.line);
  ASSERT_EQ(c.has_value(), row.ok);
  if (!row.ok) return;
  EXPECT_EQ(c->displayType, row.type);
  EXPECT_EQ(c->filesDisplayType, row.files);
  EXPECT_EQ(c->server, row.server);
  EXPECT_EQ(c->exportFile, row.file);
  EXPECT_EQ(c->startDirectory, row.start);
}

using DT = display::DisplayType;
INSTANTIATE_TEST_SUITE_P(
    Rows, AutoCommandLine,
    ::testing::Values(
        AutoRow{"users \\\\PDC out.txt", true, DT::Users, 0, "\\\\PDC", "out.txt", "C:\\"},
        AutoRow{"files1 \\\\FS f.txt D:\\data", true, DT::Files, 1, "\\\\FS", "f.txt",
                "D:\\data"},
        AutoRow{"files2 \\\\FS f.txt", true, DT::Files, 2, "\\\\FS", "f.txt", "C:\\"},
        // The last keyword in the fixed order wins, wherever it stands.
        AutoRow{"quotasusers S F", true, DT::Quotas, 0, "S", "F", "C:\\"},
        AutoRow{"groupsusers S F", true, DT::Groups, 0, "S", "F", "C:\\"},
        // Words are split at single blanks; a trailing blank is dropped.
        AutoRow{"servers  F ", true, DT::Servers, 0, "", "F", "C:\\"},
        AutoRow{"nothing S F", true, DT::None, 0, "S", "F", "C:\\"},
        AutoRow{"", false, DT::None, 0, "", "", ""},
        AutoRow{" users", false, DT::None, 0, "", "", ""}));

}  // namespace
