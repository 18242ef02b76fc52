// Where the program works and as whom: the remembered backend choice, the
// title that names backend and domain, the Log On dialog, and the samba
// backend's prompt wired through the logon port.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <filesystem>
#include <fstream>

#include "app/backend_choice.h"
#include "app/logon_dialog.h"
#include "app/network_logon.h"
#include "app/window_identity.h"
#include "app_test_support.h"
#include "platform/local/config_file_local_system.h"
#include "platform/system.h"
#include "ui/scripted_logon_prompt.h"

namespace {

using apptest::WindowTest;

std::string freshSettingsFile(const std::string& name) {
  const std::string dir = testing::TempDir() + "/" + name;
  std::filesystem::remove_all(dir);
  return dir + "/registry.json";
}

TEST(BackendChoice, AGivenNameIsRememberedAndAnUnknownOneFallsBackToTheLab) {
  const std::string file = freshSettingsFile("backend-choice");
  const std::vector<std::string> known = {"lab", "samba"};
  {
    platform::ConfigFileLocalSystem machine(file);
    EXPECT_EQ(app::chooseBackend(std::nullopt, known, machine).name, "lab");  // first start
    const app::BackendChoice given = app::chooseBackend("samba", known, machine);
    EXPECT_EQ(given.name, "samba");
    EXPECT_TRUE(given.warning.empty());
    app::rememberBackend(machine, "samba");
  }
  {
    // The next start, a new process: no --backend takes the remembered one.
    platform::ConfigFileLocalSystem machine(file);
    EXPECT_EQ(app::chooseBackend(std::nullopt, known, machine).name, "samba");
    // A start that changes nothing leaves the file as it was.
    const auto written = std::filesystem::last_write_time(file);
    app::rememberBackend(machine, "samba");
    EXPECT_EQ(std::filesystem::last_write_time(file), written);
    app::rememberBackend(machine, "gone");  // say, a backend a later version dropped
  }
  platform::ConfigFileLocalSystem machine(file);
  const app::BackendChoice fallback = app::chooseBackend(std::nullopt, known, machine);
  EXPECT_EQ(fallback.name, "lab");
  EXPECT_NE(fallback.warning.find("\"gone\""), std::string::npos) << fallback.warning;
  EXPECT_EQ(fallback.warning.find('\n'), std::string::npos);
}

TEST(BackendChoice, ADamagedSettingsFileGivesTheLabAndStaysAsItWas) {
  const std::string file = freshSettingsFile("backend-choice-damaged");
  std::filesystem::create_directories(std::filesystem::path(file).parent_path());
  std::ofstream(file) << "{ not json";
  platform::ConfigFileLocalSystem machine(file);
  EXPECT_EQ(app::chooseBackend(std::nullopt, {"lab", "samba"}, machine).name, "lab");
  app::rememberBackend(machine, "samba");
  std::ifstream in(file);
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(text, "{ not json");
}

TEST_F(WindowTest, TheTitleNamesTheBackendAndTheDomain) {
  EXPECT_EQ(app::windowTitleFor("", "LAB"), "Veltrane  v.2.20 QV");
  EXPECT_EQ(app::windowTitleFor("samba", ""), "Veltrane  v.2.20 QV - (samba)");
  app::Ports ports{m_messages, m_files, m_dialogs};
  app::WindowOptions options{false};
  options.backendName = "lab";
  m_window = std::make_unique<app::MainWindow>(ports, options);
  ASSERT_TRUE(m_window->initialise());
  EXPECT_EQ(m_window->windowTitle().toStdString(), "Veltrane  v.2.20 QV - LAB (lab)");
}

TEST(LogonDialog, ReadsTheAccountAndLeavesNoPasswordInTheWidget) {
  apptest::testApp();
  ui::LogonFields offered{"127.0.0.2", "Administrator", "SAMDOM", {}, true};
  app::LogonDialog dialog(offered);
  EXPECT_NE(dialog.promptLabel()->text().indexOf("refused"), -1);
  EXPECT_NE(dialog.promptLabel()->text().indexOf("\\\\127.0.0.2 refused"), -1);
  // The server box's form (with its backslashes) reads the same.
  offered.server = "\\\\127.0.0.2";
  EXPECT_EQ(app::logonPromptText(offered), dialog.promptLabel()->text());
  EXPECT_EQ(dialog.userEdit()->text(), "Administrator");
  EXPECT_EQ(dialog.passwordEdit()->echoMode(), QLineEdit::Password);

  dialog.userEdit()->clear();
  EXPECT_FALSE(dialog.okButton()->isEnabled());  // no account, nothing to try
  dialog.userEdit()->setText(" partner\\alice ");
  dialog.domainEdit()->clear();
  EXPECT_TRUE(dialog.okButton()->isEnabled());
  dialog.passwordEdit()->setText("S3cret pass");
  ui::LogonFields answer = dialog.fields();
  dialog.takePassword(&answer);
  EXPECT_EQ(answer.user, "alice");
  EXPECT_EQ(answer.domain, "PARTNER");
  EXPECT_EQ(answer.password, "S3cret pass");
  EXPECT_TRUE(dialog.passwordEdit()->text().isEmpty());
  EXPECT_FALSE(dialog.passwordEdit()->isUndoAvailable());
}

TEST(NetworkLogon, TheSambaBackendAsksThroughThePortAndActsAsTheAnswer) {
  apptest::testApp();
  std::string error;
  // The program's catalog, its samba module the one built beside the program.
  platform::BackendCatalog catalog = app::backendCatalog();
  catalog.addModule("samba", {VELTRANE_BINARY_DIR "/backends"});
  auto backend = app::makeBackend(catalog,
                                  [] {
                                    app::Options o;
                                    o.backend = "samba";
                                    return o;
                                  }(),
                                  &error);
  // The module is built with the program: its absence is a fault, not a skip.
  ASSERT_EQ(error.find("not installed"), std::string::npos) << error;
  if (!backend) GTEST_SKIP() << "Samba's library cannot start here: " << error;
  if (!app::needsLogon(*backend)) GTEST_SKIP() << "a Kerberos ticket cache acts already";
  // Unattended: nothing is asked.
  EXPECT_FALSE(app::logOnAtStart(*backend));
  EXPECT_TRUE(app::needsLogon(*backend));

  auto prompt = std::make_shared<ui::ScriptedLogonPrompt>();
  app::connectLogonPrompt(*backend, prompt);
  prompt->queueCancel();
  EXPECT_FALSE(app::logOnAtStart(*backend));
  EXPECT_TRUE(app::needsLogon(*backend));
  prompt->queueLogon("alice", "SAMDOM", "pw");
  EXPECT_TRUE(app::logOnAtStart(*backend));
  EXPECT_FALSE(app::needsLogon(*backend));
  ASSERT_EQ(prompt->asked().size(), 2u);
  EXPECT_FALSE(prompt->asked()[1].refused);

  // The logged-on account and domain are the answer's, the machine's name
  // Samba's (or the host's).
  platform::ScopedBackend scope(backend);
  std::string user;
  ASSERT_TRUE(platform::GetUserName(&user));
  EXPECT_EQ(user, "alice");
  EXPECT_EQ(app::ownDomain(), "SAMDOM");
  std::string computer;
  EXPECT_TRUE(platform::GetComputerName(&computer));
  EXPECT_FALSE(computer.empty());
}

}  // namespace
