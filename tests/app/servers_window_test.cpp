// The Servers display in the window: a browse over a lab with a varied
// browse list reaches the list with its cells and texts; the context menu
// targets the selected server, whose commands act on it.

#include <QAbstractItemModel>
#include <QComboBox>
#include <QItemSelectionModel>
#include <QMenu>
#include <QTableView>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <sstream>

#include "window/command_ids.h"
#include "app_test_support.h"
#include "platform/registry.h"
#include "settings/settings_store.h"

namespace {

using apptest::waitUntil;
using display::DisplayType;
using namespace app;
using namespace window;

class ServersWindow : public apptest::WindowTest {
 protected:
  void SetUp() override {
    setenv("TZ", "UTC0", 1);
    tzset();
    apptest::testApp();
    m_lab = lab::test::loadTestLab("servers-domain");
    ASSERT_TRUE(m_lab);
    m_backend.serveLab(m_lab);
    ASSERT_TRUE(makeWindow());
    m_window->selectTab(4);
    m_view = qobject_cast<QTableView*>(m_window->resultControl(kCtlServersList));
    ASSERT_NE(m_view, nullptr);
  }

  void browseServers() {
    m_window->command(kIdBrowse);
    ASSERT_TRUE(m_window->browsing());
    ASSERT_TRUE(waitUntil([&] { return !m_window->browsing(); }));
  }

  int rowOf(const QString& name) const {
    for (int r = 0; r < m_view->model()->rowCount(); ++r)
      if (cell(r, 0) == name) return r;
    return -1;
  }
  QString cell(int row, int column) const {
    return m_view->model()->index(row, column).data().toString();
  }
  std::vector<std::pair<std::string, bool>> menuItems() {
    auto menu = m_window->makeContextMenu(DisplayType::Servers);
    std::vector<std::pair<std::string, bool>> items;
    for (QAction* a : menu->actions())
      if (!a->isSeparator()) items.emplace_back(a->text().toStdString(), a->isEnabled());
    return items;
  }

  QTableView* m_view = nullptr;
};

TEST_F(ServersWindow, BrowseFillsTheListWithFlagsVersionsAndTexts) {
  browseServers();
  ASSERT_EQ(m_view->model()->rowCount(), 10);
  EXPECT_EQ(m_window->statusText(2), "LAB\\\\PDC");
  EXPECT_EQ(m_window->statusText(3), "10");
  EXPECT_TRUE(m_messages->shown().empty());

  const int pdc = rowOf("PDC");
  ASSERT_GE(pdc, 0);
  EXPECT_EQ(cell(pdc, 1), "Primary domain controller");
  // Wkst, Srv, SQL, DC, BDC ... Time.
  EXPECT_EQ(cell(pdc, 2), "X");
  EXPECT_EQ(cell(pdc, 3), "X");
  EXPECT_EQ(cell(pdc, 4), "-");
  EXPECT_EQ(cell(pdc, 5), "X");
  EXPECT_EQ(cell(pdc, 6), "-");
  EXPECT_EQ(cell(pdc, 14), "-");
  EXPECT_EQ(cell(pdc, 23), "X");
  EXPECT_EQ(cell(pdc, 24), "4.0");
  EXPECT_EQ(cell(pdc, 25), "1381");
  EXPECT_EQ(cell(pdc, 26), "Service Pack 6");
  EXPECT_EQ(cell(pdc, 27), "Fri Jan  1 00:00:00 1999 ");

  const int w95 = rowOf("W95");
  ASSERT_GE(w95, 0);
  EXPECT_EQ(cell(w95, 14), "X");  // W95/WFW from the Windows bit
  EXPECT_EQ(cell(w95, 25), "Unknown");
  EXPECT_EQ(cell(rowOf("HIGHBITS"), 24), "4.0");
}

TEST_F(ServersWindow, ExtraEntriesReachTheirColumns) {
  {
    platform::RegKey key;
    ASSERT_EQ(platform::RegCreateKeyEx(platform::HKEY_CURRENT_USER, settings::kProgramKey, 0,
                                       platform::KEY_ALL_ACCESS, key.out(), nullptr),
              0);
    ASSERT_EQ(platform::RegSetValueEx(key.get(), "s_xtra2", platform::REG_SZ,
                                      platform::regSzBytes("SOFTWARE\\Facilities\\Owner")),
              0);
  }
  m_window->settings().s_show_extra_entries = 1;
  browseServers();
  const int pdc = rowOf("PDC");
  EXPECT_EQ(cell(pdc, 29), "Building services");
  EXPECT_EQ(cell(pdc, 28), "Unknown");  // the empty first definition names no value
}

TEST_F(ServersWindow, EmptyAnswerShowsTheWorkersMessageAndAnEmptyList) {
  m_window->serverCombo()->addItem("\\\\EMPTY");
  m_window->serverCombo()->setCurrentText("\\\\EMPTY");
  browseServers();
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].caption, "Error number : 0");
  EXPECT_EQ(m_view->model()->rowCount(), 0);
  EXPECT_EQ(m_window->statusText(3), "0");
}

TEST_F(ServersWindow, ContextMenuTargetsTheSelectedServer) {
  browseServers();
  const std::vector<std::pair<std::string, bool>> greyed = {
      {"&Add to server list", false},
      {"&Properties", false},
      {"&Remove server from list", true},
      {"&Settings", true}};
  EXPECT_EQ(menuItems(), greyed);

  const int wfw = rowOf("WFW");
  m_view->selectRow(wfw);
  auto items = menuItems();
  ASSERT_EQ(items.size(), 4u);
  for (const auto& item : items) EXPECT_TRUE(item.second) << item.first;
  EXPECT_EQ(m_window->targetServer(), "\\\\WFW");

  // Of several selected rows the topmost is the target.
  const int bdc = rowOf("BDC");
  ASSERT_LT(bdc, wfw);
  m_view->selectionModel()->select(m_view->model()->index(bdc, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
  menuItems();
  EXPECT_EQ(m_window->targetServer(), "\\\\BDC");

  // Add appends the target once (an entry beginning with it refuses it
  // silently), Properties opens the server information dialog on it, Remove
  // the list of servers (cancelled: the list stays).
  const int entries = m_window->serverCombo()->count();
  auto run = [&](const QString& text) {
    auto menu = m_window->makeContextMenu(DisplayType::Servers);
    for (QAction* a : menu->actions())
      if (a->text() == text) a->trigger();
  };
  run("&Add to server list");
  run("&Add to server list");
  ASSERT_EQ(m_window->serverCombo()->count(), entries + 1);
  // The list stays sorted: the new entry takes its place in it.
  EXPECT_GE(m_window->serverCombo()->findText("\\\\BDC"), 0);
  ASSERT_EQ(m_messages->shown().size(), 1u);
  EXPECT_EQ(m_messages->shown()[0].text,
            "The selected server has been successfully\nadded to the list of servers.");
  run("&Properties");
  run("&Remove server from list");
  ASSERT_EQ(m_dialogs->shown().size(), 2u);
  EXPECT_EQ(m_dialogs->shown()[0].title, "Server information for \\\\BDC");
  EXPECT_EQ(m_dialogs->shown()[1].title, "Remove server from search list");
  EXPECT_EQ(m_window->serverCombo()->count(), entries + 1);
}

}  // namespace
