// What features get from the window: their commands, registered from
// outside app/, are offered by their rules and run with the window as their
// context; and browsing never makes the window's thread wait for a server.

#include <QAction>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTableView>

#include <algorithm>
#include <mutex>
#include <thread>

#include "platform/lab/lab_backend.h"
#include "app_test_support.h"
#include "display/content_table_model.h"
#include "session/display_contents.h"
#include "window/command_ids.h"
#include "window/command_table.h"

namespace {

using apptest::WindowTest;
using apptest::waitUntil;
using display::DisplayType;
using namespace window;

struct Ran {
  int times = 0;
  std::string server;
  std::vector<std::string> names;
  std::vector<std::string> userRecords;  // the records' own names
};

// A dialog's folder places its command itself and the window builds its
// menu and toolbar from that; a second command asking for the same place
// is refused and shows nowhere.
TEST_F(WindowTest, AFeatureCommandStandsWhereItAsksWithItsStatusText) {
  constexpr int kIdReport = 40500;
  constexpr int kIdRival = 40501;
  int ran = 0;
  app::WindowOptions options;
  options.splash = false;
  options.moreCommands = [&ran](CommandTable& table) {
    // Between Show columns (order 30) and Manage Shares (40) of the Tools
    // menu's server section, and a button after Filter.
    table.add({.id = kIdReport,
               .action = [&ran](WindowContext&) { ++ran; },
               .placement = Placement{.menu = MenuPlace{Menu::Tools, 1, 35},
                                      .tool = ToolPlace{3, 30, 17},
                                      .text = "Quota &report",
                                      .status = "Report the quotas of the browsed server"}});
    table.add({.id = kIdRival,
               .action = [](WindowContext&) {},
               .placement = Placement{.menu = MenuPlace{Menu::Tools, 1, 35},
                                      .text = "&Rival",
                                      .status = "Wants the same place"}});
  };
  m_window = std::make_unique<app::MainWindow>(app::Ports{m_messages, m_files, m_dialogs},
                                               options);
  ASSERT_TRUE(m_window->initialise());

  EXPECT_EQ(apptest::menuTexts(*m_window, "&Tools"),
            (std::vector<std::string>{"&Browse\tF5", "-", "&Add server to list",
                                      "&Remove server from list", "S&how columns",
                                      "Quota &report", "&Manage Shares", "&Unhide Server", "-",
                                      "A&ccount Policies", "&Settings"}));
  QAction* item = m_window->menuAction(kIdReport);
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->statusTip(), "Report the quotas of the browsed server");
  item->trigger();
  EXPECT_EQ(ran, 1);
  EXPECT_EQ(m_window->menuAction(kIdRival), nullptr);
  EXPECT_EQ(m_window->commands().refused(), std::vector<int>{kIdRival});

  // Filter's section grew by one button; Help moved along.
  ASSERT_NE(m_window->toolbarButton(19), nullptr);
  EXPECT_EQ(m_window->toolbarButton(19)->data().toInt(), kIdReport);
  EXPECT_EQ(m_window->toolbarButton(19)->toolTip(), "Report the quotas of the browsed server");
  EXPECT_EQ(m_window->toolbarButton(20), nullptr);
  EXPECT_EQ(m_window->toolbarButton(21)->data().toInt(), kIdHelpContents);
}

TEST_F(WindowTest, AFeatureCommandIsOfferedByItsRuleAndRunsWithTheSelectionInViewOrder) {
  Ran ran;
  app::WindowOptions options;
  options.splash = false;
  // A feature claims File > Import for the Users display, offered with two
  // or more selected accounts; the program's own Import (every display)
  // stays on the others.
  options.moreCommands = [&ran](CommandTable& table) {
    table.add({.id = kIdImport,
               .display = DisplayType::Users,
               .action =
                   [&ran](WindowContext& c) {
                     ++ran.times;
                     ran.server = c.browseServer();
                     const Selection s = c.selection();
                     ran.names = s.names;
                     ran.userRecords.clear();
                     for (const auto* user : s.users) ran.userRecords.push_back(user->name);
                   },
               .enabled = [](const WindowContext& c) { return c.selection().size() >= 2; }});
  };
  m_window = std::make_unique<app::MainWindow>(app::Ports{m_messages, m_files, m_dialogs},
                                               options);
  ASSERT_TRUE(m_window->initialise());
  QAction* item = m_window->menuAction(kIdImport);
  QAction* button = m_window->toolbarButton(1);
  ASSERT_EQ(button->data().toInt(), kIdImport);
  EXPECT_FALSE(item->isEnabled());
  EXPECT_FALSE(button->isEnabled());

  m_window->browse();
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  auto* users = qobject_cast<QTableView*>(m_window->resultControl(kCtlUsersList));
  display::ContentTableModel* model = display::contentModelOf(*users);
  ASSERT_EQ(model->rowCount(), 3);
  // The list shows its rows in reverse (as a sort would); the command must
  // get them as shown, not in record order.
  static_cast<session::UsersContent&>(model->content()).list().setRowOrder({2, 1, 0});
  model->reset();
  users->selectAll();
  emit users->clicked(users->model()->index(0, 0));
  EXPECT_TRUE(item->isEnabled());
  EXPECT_TRUE(button->isEnabled());

  item->trigger();
  EXPECT_EQ(ran.times, 1);
  EXPECT_EQ(ran.server, "\\\\PDC");
  const std::vector<std::string> shown{"bob", "alice", "Administrator"};
  EXPECT_EQ(ran.names, shown);
  EXPECT_EQ(ran.userRecords, shown);

  users->selectRow(1);
  emit users->clicked(users->model()->index(1, 0));
  EXPECT_FALSE(item->isEnabled());

  // On another display the Users registration neither rules nor runs: the
  // program's own command does.
  m_window->selectTab(1);
  EXPECT_TRUE(item->isEnabled());
  m_window->command(kIdImport);
  EXPECT_EQ(ran.times, 1);
  ASSERT_EQ(m_dialogs->shown().size(), 1u);
  EXPECT_EQ(m_dialogs->shown()[0].objectName, "ImportFromFile");
}

// Records the thread of every call a fill or the access-rights name check
// could make; the rest goes straight to the lab.
class ThreadRecordingBackend final : public lab::LabAccounts {
 public:
  using NET_API_STATUS = platform::NET_API_STATUS;
  using DWORD = platform::DWORD;
  using NetBuffer = platform::NetBuffer;
  using LabAccounts::LabAccounts;

  NET_API_STATUS NetUserModalsGet(std::string_view server, DWORD level, NetBuffer& buf) override {
    record();
    return LabAccounts::NetUserModalsGet(server, level, buf);
  }
  NET_API_STATUS NetUserGetInfo(std::string_view server, std::string_view user, DWORD level,
                                NetBuffer& buf) override {
    record();
    return LabAccounts::NetUserGetInfo(server, user, level, buf);
  }
  NET_API_STATUS NetLocalGroupGetInfo(std::string_view server, std::string_view group,
                                      DWORD level, NetBuffer& buf) override {
    record();
    return LabAccounts::NetLocalGroupGetInfo(server, group, level, buf);
  }

  int callsOn(std::thread::id thread) const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(std::count(m_threads.begin(), m_threads.end(), thread));
  }
  int calls() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_threads.size());
  }

 private:
  void record() {
    std::lock_guard lock(m_mutex);
    m_threads.push_back(std::this_thread::get_id());
  }
  mutable std::mutex m_mutex;
  std::vector<std::thread::id> m_threads;
};

// Against a controller that does not answer, a call on the window's thread
// freezes the window; so browsing and filling make none there.
TEST_F(WindowTest, BrowsingAndFillingMakeNoPlatformCallOnTheWindowsThread) {
  ASSERT_TRUE(makeWindow());
  auto recorder = std::make_shared<ThreadRecordingBackend>(m_lab);
  platform::ScopedBackend installed(lab::makeLabBackend(m_lab, recorder));
  const std::thread::id gui = std::this_thread::get_id();

  for (int tab : {5, 1, 4}) {  // Users, Groups, Servers
    m_window->selectTab(tab);
    m_window->browse();
    ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); })) << tab;
    EXPECT_EQ(m_window->statusText(2), "LAB\\\\PDC") << tab;  // the domain reached the fill
  }
  m_window->settings().f_display_type = 1;
  m_window->selectTab(0);
  for (const char* name : {"alice", "nobody"}) {
    m_window->userNameEdit()->setText(QString::fromUtf8(name));
    m_window->browse();
    ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); })) << name;
  }
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"User unknown"});
  EXPECT_GT(recorder->calls(), 0);
  EXPECT_EQ(recorder->callsOn(gui), 0);
}

}  // namespace
