#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QStatusTipEvent>
#include <QTableView>

#include <algorithm>
#include <string>

#include "app/browse_button.h"
#include "session/display_traits.h"
#include "window/command_ids.h"
#include "app_test_support.h"

namespace {

using apptest::GatedMessages;
using apptest::WindowTest;
using apptest::waitUntil;
using display::DisplayType;
using namespace app;
using namespace window;

struct BrowseRow {
  int tab;
  DisplayType type;
  int control;
  int rows;
  const char* count;
};

class BrowseDisplay : public WindowTest, public ::testing::WithParamInterface<BrowseRow> {};

TEST_P(BrowseDisplay, ReachesTheListWithItsStatusTexts) {
  const BrowseRow& row = GetParam();
  ASSERT_TRUE(makeWindow());
  m_window->selectTab(row.tab);
  m_window->command(kIdBrowse);
  EXPECT_TRUE(m_window->browsing());
  EXPECT_EQ(m_window->statusText(0).toStdString(),
            "Browsing...." + std::string(display::statusName(row.type)));
  EXPECT_FALSE(m_window->menuAction(kIdPropertiesCyclic)->isEnabled());
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  auto* view = qobject_cast<QTableView*>(m_window->resultControl(row.control));
  ASSERT_NE(view->model(), nullptr);
  EXPECT_EQ(view->model()->rowCount(), row.rows);
  EXPECT_EQ(m_window->statusText(0), "Ready");
  EXPECT_EQ(m_window->statusText(2), "LAB\\\\PDC");
  EXPECT_EQ(m_window->statusText(3), row.count);
  EXPECT_TRUE(m_window->menuAction(kIdPropertiesCyclic)->isEnabled());
  EXPECT_EQ(m_window->animationFrame(), 0);
  EXPECT_TRUE(m_messages->shown().empty());
  // Each display keeps its own texts.
  m_window->selectTab(2);
  EXPECT_EQ(m_window->statusText(2), "");
  m_window->selectTab(row.tab);
  EXPECT_EQ(m_window->statusText(2), "LAB\\\\PDC");
}

// The window lab: 3 users; 2 global groups and 1 local group (members off).
INSTANTIATE_TEST_SUITE_P(Displays, BrowseDisplay,
                         ::testing::Values(BrowseRow{5, DisplayType::Users, kCtlUsersList, 3, "3"},
                                           BrowseRow{1, DisplayType::Groups, kCtlGroupsList, 3,
                                                     "3"},
                                           BrowseRow{4, DisplayType::Servers, kCtlServersList, 2,
                                                     "2"}));

TEST_F(WindowTest, ClickingTwoUsersEnablesCombinedPropertiesAndDoubleClickIsSafe) {
  ASSERT_TRUE(makeWindow());
  m_window->browse();
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  auto* users = qobject_cast<QTableView*>(m_window->resultControl(kCtlUsersList));
  QAction* combined = m_window->menuAction(kIdPropertiesCombined);
  users->selectRow(0);
  emit users->clicked(users->model()->index(0, 0));
  EXPECT_FALSE(combined->isEnabled());
  users->selectionModel()->select(users->model()->index(1, 0),
                                  QItemSelectionModel::Select | QItemSelectionModel::Rows);
  emit users->clicked(users->model()->index(1, 0));
  EXPECT_TRUE(combined->isEnabled());
  emit users->doubleClicked(users->model()->index(1, 0));
  EXPECT_TRUE(m_messages->shown().empty());
}

TEST_F(WindowTest, NetworkFilesAndQuotasBrowseOnWorkersAndSayWhatFails) {
  ASSERT_TRUE(makeWindow());
  // Network walks the network on a worker of its own.
  m_window->selectTab(2);
  m_window->browse();
  ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_EQ(m_window->statusText(0), "Ready");
  EXPECT_NE(m_window->statusText(3), "0");
  EXPECT_TRUE(m_messages->shown().empty());
  // Files walks its root path; this lab's workstation has no C: drive, which
  // the walk says rather than showing an empty list as if it were one.
  m_window->selectTab(0);
  m_window->browse();
  ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_EQ(m_window->statusText(3), "0");
  EXPECT_EQ(shownTexts(),
            std::vector<std::string>{"The directory C:\\ could not be listed.\nError code given was: 3"});
  m_messages->clear();
  // Quotas has a worker of its own: a server without quota entries gives an
  // empty list, and the Edit menu's items stay greyed on that display.
  m_window->selectTab(3);
  m_window->browse();
  ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_EQ(m_window->statusText(3), "0");
  EXPECT_TRUE(m_messages->shown().empty());
  EXPECT_FALSE(m_window->menuAction(kIdPropertiesCyclic)->isEnabled());
}

// A plain user's Users browse is refused by the server: beside the message
// box, the status bar says why in the box's words, so the empty list is not
// taken for an empty domain; a later browse that succeeds puts "Ready" back.
TEST_F(WindowTest, ARefusedBrowseSaysWhyInTheStatusBarUntilOneSucceeds) {
  ASSERT_TRUE(makeWindow());
  m_window->settings().u_quick_viewing = 0;
  m_lab->logOn("LAB\\alice");
  m_window->selectTab(5);
  m_window->browse();
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  ASSERT_EQ(shownTexts().size(), 1u);
  const std::string box = shownTexts().front();
  ASSERT_NE(box.find("Error number : 5"), std::string::npos) << box;
  EXPECT_EQ(qobject_cast<QTableView*>(m_window->resultControl(kCtlUsersList))->model()->rowCount(),
            0);
  std::string line = box;
  std::replace(line.begin(), line.end(), '\n', ' ');
  EXPECT_EQ(m_window->statusText(0).toStdString(), line);
  // A menu's help passing over the part gives the reason back, not "Ready".
  QStatusTipEvent tip{QString()};
  QApplication::sendEvent(m_window.get(), &tip);
  EXPECT_EQ(m_window->statusText(0).toStdString(), line);

  // Another display refused as well: its own words replace the first.
  ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetLocalGroupEnum", platform::ERROR_ACCESS_DENIED));
  ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetGroupEnum", platform::ERROR_ACCESS_DENIED));
  m_messages->clear();
  m_window->selectTab(1);
  m_window->browse();
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_EQ(m_window->statusText(0), "Insufficient rights to read Global group information.");

  m_lab->logOn("LAB\\Administrator");
  m_window->selectTab(5);
  m_window->browse();
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_EQ(m_window->statusText(0), "Ready");
  EXPECT_EQ(m_window->statusText(3), "3");
}

struct AccessNameRow {
  const char* name;
  bool known;  // a user or a local group of the browse server
};

class AccessRightsName : public WindowTest, public ::testing::WithParamInterface<AccessNameRow> {};

// The name is looked up on the worker's thread (a server may be slow to
// answer); an unknown one is refused and leaves the display as it was.
TEST_P(AccessRightsName, AnUnknownNameIsRefusedAndNothingIsWalked) {
  const AccessNameRow& row = GetParam();
  ASSERT_TRUE(makeWindow());
  m_window->settings().f_display_type = 1;
  m_window->selectTab(0);
  m_window->userNameEdit()->setText(QString::fromUtf8(row.name));
  m_messages->clear();
  m_window->command(kIdBrowse);
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_EQ(m_window->statusText(0), "Ready");
  EXPECT_EQ(m_window->statusText(2), row.known ? "LAB\\\\PDC" : "");
  const std::vector<std::string> unknown{"User unknown"};
  EXPECT_EQ(shownTexts(), row.known ? std::vector<std::string>{} : unknown);
}

INSTANTIATE_TEST_SUITE_P(Names, AccessRightsName,
                         ::testing::Values(AccessNameRow{"alice", true},
                                           AccessNameRow{"Administrators", true},
                                           AccessNameRow{"Staff", false},  // a global group
                                           AccessNameRow{"nobody", false},
                                           AccessNameRow{"", false}));

class StoppedBrowse : public WindowTest {
 protected:
  // Starts a Users browse whose worker is held on a message box.
  void startHeldBrowse() {
    ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetQueryDisplayInformation",
                                       platform::ERROR_ACCESS_DENIED));
    ASSERT_TRUE(makeWindow(m_gate));
    m_window->browse();
    ASSERT_TRUE(waitUntil([&] { return m_gate->waiting() == 1; }));
    ASSERT_TRUE(m_window->browsing());
  }
  std::shared_ptr<GatedMessages> m_gate = std::make_shared<GatedMessages>();
};

TEST_F(StoppedBrowse, StopShowsTerminatedTextsAndDropsTheResults) {
  startHeldBrowse();
  const auto id = m_window->browseId();
  m_window->browseButton()->click();  // while browsing: stop
  EXPECT_FALSE(m_window->browsing());
  EXPECT_EQ(m_window->statusText(0), "Ready");
  EXPECT_EQ(m_window->statusText(2), "User terminated browse.");
  EXPECT_EQ(m_window->statusText(3), "0 ");
  m_gate->open();
  ASSERT_TRUE(waitUntil([&] { return m_gate->waiting() == 0; }));
  for (int i = 0; i < 20; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
  EXPECT_EQ(m_window->statusText(2), "User terminated browse.");
  EXPECT_EQ(m_window->browseId(), id);

  // A later browse works normally.
  ASSERT_TRUE(m_lab->refuseOperation("PDC", "NetQueryDisplayInformation", 0));
  m_window->browseButton()->click();  // idle: browse
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_EQ(m_window->statusText(2), "LAB\\\\PDC");
  EXPECT_EQ(m_window->statusText(3), "3");
}

TEST_F(StoppedBrowse, F5EnterAndToolsBrowseAreIgnoredWhileBrowsing) {
  startHeldBrowse();
  const auto id = m_window->browseId();
  EXPECT_TRUE(apptest::pressShortcut(*m_window, Qt::Key_F5));
  EXPECT_TRUE(apptest::pressShortcut(*m_window, Qt::Key_Return));
  m_window->menuAction(kIdBrowse)->trigger();
  EXPECT_EQ(m_window->browseId(), id);
  EXPECT_TRUE(m_window->browsing());
  m_gate->open();
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  // F5 and Enter browse again once idle.
  EXPECT_TRUE(apptest::pressShortcut(*m_window, Qt::Key_F5));
  EXPECT_EQ(m_window->browseId(), id + 1);
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  EXPECT_TRUE(apptest::pressShortcut(*m_window, Qt::Key_Return));
  EXPECT_EQ(m_window->browseId(), id + 2);
  ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
}

TEST_F(StoppedBrowse, ClosingDuringABrowseEndsTheWindow) {
  startHeldBrowse();
  m_window->show();
  m_window->command(kIdExit);
  EXPECT_TRUE(m_window->closing());
  EXPECT_FALSE(m_window->isVisible());
  m_gate->open();  // the worker, detached or joined, leaves without a trace
  m_window.reset();
  for (int i = 0; i < 10; ++i) QApplication::processEvents(QEventLoop::AllEvents, 10);
}

TEST_F(StoppedBrowse, TheAnimationAdvancesWhileBrowsing) {
  startHeldBrowse();
  ASSERT_TRUE(waitUntil([&] { return m_window->animationFrame() >= 2; }, 3000));
  m_window->stopBrowse();
  EXPECT_EQ(m_window->animationFrame(), 0);
  m_gate->open();
}

}  // namespace
