#include <QAction>
#include <QDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMenu>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTableView>
#include <QKeyEvent>
#include <QTextBrowser>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>

#include "app/browse_button.h"
#include "window/command_ids.h"
#include "app/help_window.h"
#include "app/menu_mnemonics.h"
#include "app_test_support.h"
#include "session/display_traits.h"
#include "session/column_sets.h"
#include "display/result_display.h"
#include "resources/strings.h"

namespace {

using apptest::WindowTest;
using display::DisplayType;
using namespace app;
using namespace window;

TEST_F(WindowTest, OpensWithTitleTabsAndTheUsersDisplay) {
  ASSERT_TRUE(makeWindow());
  EXPECT_EQ(m_window->windowTitle(), "Veltrane  v.2.20 QV");
  QTabBar* tabs = m_window->tabBar();
  // The six displays, then the two that came after them.
  ASSERT_EQ(tabs->count(), 8);
  const char* texts[] = {"Files",   "Groups", "Network",     "Quotas",
                         "Servers", "Users",  "Performance", "Trusts"};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(tabs->tabText(i), texts[i]);
  EXPECT_EQ(tabs->currentIndex(), 5);
  EXPECT_EQ(m_window->currentDisplayType(), DisplayType::Users);
  EXPECT_TRUE(m_window->resultControl(kCtlUsersList)->isVisibleTo(m_window.get()));
  EXPECT_FALSE(m_window->resultControl(kCtlNetworkTree)->isVisibleTo(m_window.get()));
  EXPECT_FALSE(m_window->browsing());
  EXPECT_EQ(m_window->minimumSize(), QSize(600, 460));
}

TEST_F(WindowTest, RefusesToShrinkBelowItsMinimumSize) {
  ASSERT_TRUE(makeWindow());
  m_window->show();
  m_window->resize(300, 200);
  QApplication::processEvents();
  EXPECT_GE(m_window->width(), 600);
  EXPECT_GE(m_window->height(), 460);
}

TEST_F(WindowTest, ToolbarHasItsButtonsInOrderWithToolTipsFromTheStringTable) {
  ASSERT_TRUE(makeWindow());
  const int commands[21] = {0,       kIdImport, kIdExport, kIdPrint, 0,  kIdPropertiesCyclic,
                            kIdAdd,  kIdCopy,   kIdDelete, 0,        kIdWindowFiles,
                            kIdWindowGroups, kIdWindowNetwork, kIdWindowQuotas,
                            kIdWindowServers, kIdWindowUsers, 0, kIdFind, kIdFilter, 0,
                            kIdHelpContents};
  for (int i = 0; i < 21; ++i) {
    QAction* button = m_window->toolbarButton(i);
    if (commands[i] == 0) {
      EXPECT_EQ(button, nullptr) << i;
      continue;
    }
    ASSERT_NE(button, nullptr) << i;
    EXPECT_EQ(button->data().toInt(), commands[i]);
    const std::string_view help = res::loadString(static_cast<unsigned>(commands[i]));
    EXPECT_FALSE(help.empty()) << commands[i];
    EXPECT_EQ(button->toolTip().toStdString(), help);
    EXPECT_FALSE(button->icon().isNull()) << i;
  }
  EXPECT_FALSE(m_window->toolbarButton(3)->isVisible());  // Print stays hidden
}

TEST_F(WindowTest, EveryMenuCommandHasItsHelpText) {
  ASSERT_TRUE(makeWindow());
  for (int id : {kIdCopyToClipboard, kIdImport, kIdExport, kIdExit, kIdPropertiesCyclic,
                 kIdPropertiesCombined, kIdAdd, kIdCopy, kIdDelete, kIdFind, kIdFilter, kIdBrowse,
                 kIdAddServer, kIdRemoveServer, kIdShowColumns, kIdManageShares, kIdUnhideServer,
                 kIdAccountPolicies, kIdSettings, kIdWindowFiles, kIdWindowGroups,
                 kIdWindowNetwork, kIdWindowQuotas, kIdWindowServers, kIdWindowUsers,
                 kIdHelpContents, kIdAbout, kIdContact}) {
    QAction* a = m_window->menuAction(id);
    ASSERT_NE(a, nullptr) << id;
    EXPECT_EQ(a->statusTip().toStdString(), res::loadString(static_cast<unsigned>(id))) << id;
  }
  EXPECT_EQ(m_window->menuAction(kIdBrowse)->text(), "&Browse\tF5");
  // The text as written; its letter moved off the "A" that "&About" takes.
  EXPECT_EQ(m_window->menuAction(kIdAboutBox)->text(), "About &Morrowell...");
}

// Every folder places its own items: together they must still make the
// menus the user knows, in order, with their separators and letters.
TEST_F(WindowTest, TheMenusHoldTheirItemsInOrderWithTheirSeparators) {
  ASSERT_TRUE(makeWindow());
  EXPECT_TRUE(m_window->commands().refused().empty());
  using Texts = std::vector<std::string>;
  EXPECT_EQ(apptest::menuTexts(*m_window, "&File"),
            (Texts{"&Copy to clipboard", "&Import", "&Export", "-", "E&xit"}));
  EXPECT_EQ(apptest::menuTexts(*m_window, "&Edit"),
            (Texts{"&Properties (Cyclic)", "Properties (Co&mbined)", "-",
                   "&Add user/group/quota", "&Copy user/group", "&Delete user/group/quota", "-",
                   "&Find in current window", "F&ilter"}));
  EXPECT_EQ(apptest::menuTexts(*m_window, "&Tools"),
            (Texts{"&Browse\tF5", "-", "&Add server to list", "&Remove server from list",
                   "S&how columns", "&Manage Shares", "&Unhide Server", "-",
                   "A&ccount Policies", "&Settings"}));
  EXPECT_EQ(apptest::menuTexts(*m_window, "&Window"),
            (Texts{"&Files", "&Groups", "&Network", "&Quotas", "&Servers", "&Users"}));
  EXPECT_EQ(apptest::menuTexts(*m_window, "&Help"),
            (Texts{"&Contents", "&About", "How to contact &Brisle Software...", "-",
                   "About &Morrowell..."}));
  std::vector<QString> titles;
  for (const QAction* menu : m_window->menuBar()->actions()) titles.push_back(menu->text());
  EXPECT_EQ(titles, (std::vector<QString>{"&File", "&Edit", "&Tools", "&Window", "&Help"}));
}

TEST_F(WindowTest, MenuHelpShowsInStatusPartZeroWhileAMenuIsOpen) {
  ASSERT_TRUE(makeWindow());
  QStatusTipEvent hover(QStringLiteral("Quit the application"));
  QApplication::sendEvent(m_window.get(), &hover);
  EXPECT_EQ(m_window->statusText(0), "Quit the application");
  QStatusTipEvent closed{QString()};
  QApplication::sendEvent(m_window.get(), &closed);
  EXPECT_EQ(m_window->statusText(0), "Ready");
}

// One row per tab: what the display set-up shows and enables.
struct SetUpRow {
  int tab;
  DisplayType type;
  int control;
  int pressedButton;
  bool editButtons;      // toolbar 5..8
  bool propertiesButton; // toolbar 5
  bool cyclic, add, copy, del;
  bool exportable;
};

class DisplaySetUp : public WindowTest, public ::testing::WithParamInterface<SetUpRow> {};

TEST_P(DisplaySetUp, SetsControlsToolbarAndMenu) {
  const SetUpRow& row = GetParam();
  ASSERT_TRUE(makeWindow());
  m_window->selectTab(row.tab);
  EXPECT_EQ(m_window->currentDisplayType(), row.type);
  for (int id : {kCtlFilesList, kCtlGroupsList, kCtlNetworkTree, kCtlQuotasList,
                 kCtlServersList, kCtlUsersList, kCtlLicensesList, kCtlTrustsList,
                 kCtlAccessTree, kCtlPerformanceTree})
    EXPECT_EQ(m_window->resultControl(id)->isVisibleTo(m_window.get()), id == row.control) << id;
  for (int i = 10; i <= 15; ++i)
    EXPECT_EQ(m_window->toolbarButton(i)->isChecked(), i == row.pressedButton) << i;
  EXPECT_EQ(m_window->toolbarButton(5)->isEnabled(), row.propertiesButton);
  for (int i = 6; i <= 8; ++i) EXPECT_EQ(m_window->toolbarButton(i)->isEnabled(), row.editButtons);
  EXPECT_EQ(m_window->menuAction(kIdPropertiesCyclic)->isEnabled(), row.cyclic);
  EXPECT_FALSE(m_window->menuAction(kIdPropertiesCombined)->isEnabled());
  EXPECT_EQ(m_window->menuAction(kIdAdd)->isEnabled(), row.add);
  EXPECT_EQ(m_window->menuAction(kIdCopy)->isEnabled(), row.copy);
  EXPECT_EQ(m_window->menuAction(kIdDelete)->isEnabled(), row.del);
  EXPECT_EQ(m_window->menuAction(kIdExport)->isEnabled(), row.exportable);
  EXPECT_EQ(m_window->menuAction(kIdCopyToClipboard)->isEnabled(), row.exportable);
  EXPECT_FALSE(m_window->userNameEdit()->isVisibleTo(m_window.get()));
}

INSTANTIATE_TEST_SUITE_P(
    Tabs, DisplaySetUp,
    ::testing::Values(
        SetUpRow{0, DisplayType::Files, kCtlFilesList, 10, false, false, false, false, false,
                 false, true},
        SetUpRow{1, DisplayType::Groups, kCtlGroupsList, 11, true, true, true, true, true, true,
                 true},
        SetUpRow{2, DisplayType::Network, kCtlNetworkTree, 12, false, false, false, false,
                 false, false, false},
        SetUpRow{3, DisplayType::Quotas, kCtlQuotasList, 13, false, false, false, false, false,
                 false, true},
        SetUpRow{4, DisplayType::Servers, kCtlServersList, 14, false, true, true, false, false,
                 false, true},
        SetUpRow{5, DisplayType::Users, kCtlUsersList, 15, true, true, true, true, true, true,
                 true},
        // Without buttons of their own, they press the Quotas and Users ones.
        SetUpRow{6, DisplayType::Performance, kCtlPerformanceTree, 13, false, false, false,
                 false, false, false, true},
        SetUpRow{7, DisplayType::Trusts, kCtlTrustsList, 15, false, false, false, false, false,
                 false, true}));

TEST_F(WindowTest, WindowMenuAndToolbarSelectTheirTabs) {
  ASSERT_TRUE(makeWindow());
  m_window->menuAction(kIdWindowServers)->trigger();
  EXPECT_EQ(m_window->tabBar()->currentIndex(), 4);
  m_window->toolbarButton(11)->trigger();
  EXPECT_EQ(m_window->tabBar()->currentIndex(), 1);
  m_window->command(kIdSelectQuotasTab);
  EXPECT_EQ(m_window->tabBar()->currentIndex(), 3);
  m_window->command(kIdSelectUsersTab);
  EXPECT_EQ(m_window->tabBar()->currentIndex(), 5);
  EXPECT_TRUE(m_window->toolbarButton(15)->isChecked());
}

// The Menu key, Insert and Delete go to the focused control: after a
// display change that must be the control now shown, not the hidden one.
TEST_F(WindowTest, TheFocusFollowsTheDisplayShown) {
  ASSERT_TRUE(makeWindow());
  m_window->show();
  QApplication::setActiveWindow(m_window.get());
  m_window->selectTab(1);
  m_window->listView(DisplayType::Groups)->setFocus();
  m_window->menuAction(kIdWindowUsers)->trigger();
  EXPECT_EQ(m_window->focusWidget(), m_window->listView(DisplayType::Users));
  m_window->toolbarButton(12)->trigger();  // Network
  EXPECT_EQ(m_window->focusWidget(), m_window->treeView(DisplayType::Network));
  m_window->tabBar()->setCurrentIndex(1);
  EXPECT_EQ(m_window->focusWidget(), m_window->listView(DisplayType::Groups));
}

TEST_F(WindowTest, AccessRightsFormShowsTheTreeAndTheUserNameField) {
  ASSERT_TRUE(makeWindow());
  m_window->settings().f_display_type = 1;
  m_window->selectTab(0);
  EXPECT_TRUE(m_window->resultControl(kCtlAccessTree)->isVisibleTo(m_window.get()));
  EXPECT_FALSE(m_window->resultControl(kCtlFilesList)->isVisibleTo(m_window.get()));
  EXPECT_TRUE(m_window->userNameEdit()->isVisibleTo(m_window.get()));
  EXPECT_EQ(m_window->userNameLabel()->text(), "Username:");
  m_window->settings().f_display_type = 2;
  m_window->displaySetUp();
  EXPECT_TRUE(m_window->resultControl(kCtlFilesList)->isVisibleTo(m_window.get()));
  EXPECT_FALSE(m_window->userNameEdit()->isVisibleTo(m_window.get()));
}

TEST_F(WindowTest, ATabMatchingNoDisplayTypeIsRefusedAndCannotBeBrowsed) {
  ASSERT_TRUE(makeWindow());
  m_window->tabBar()->setTabText(2, "Neighbourhood");
  m_messages->clear();
  m_window->selectTab(2);
  EXPECT_EQ(m_window->currentDisplayType(), DisplayType::None);
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Illegal TAB selection value"});
  m_messages->clear();
  m_window->command(kIdBrowse);
  EXPECT_EQ(shownTexts(), std::vector<std::string>{"Unsupported Display Type."});
  EXPECT_FALSE(m_window->browsing());
}

TEST_F(WindowTest, ShowColumnsRestoresTheWidthsOfTheSettings) {
  ASSERT_TRUE(makeWindow());
  auto* users = qobject_cast<QTableView*>(m_window->resultControl(kCtlUsersList));
  ASSERT_NE(users->model(), nullptr);
  QHeaderView* header = users->horizontalHeader();
  const int width = header->sectionSize(1);
  ASSERT_GT(width, 0);
  header->resizeSection(1, width + 77);
  m_window->selectTab(1);
  m_window->selectTab(5);  // a display change keeps the user's widths
  EXPECT_EQ(header->sectionSize(1), width + 77);
  m_window->command(kIdShowColumns);
  EXPECT_EQ(header->sectionSize(1), width);
}

// The parts end at W - 360, W - 240, W - 80 and W - 40 (in the font the
// widths were made for; moved in proportion for a larger one) whatever they
// show: a long progress text is cut short, it does not push the others.
TEST_F(WindowTest, StatusPartsKeepTheirEdgesWhateverTheyShow) {
  ASSERT_TRUE(makeWindow());
  m_window->resize(900, 600);
  m_window->show();
  QApplication::processEvents();
  const auto edges = [&] {
    std::vector<int> right;
    for (int i = 0; i < 4; ++i) {
      auto* part = m_window->findChild<QLabel*>(QStringLiteral("statusPart%1").arg(i));
      right.push_back(part ? part->mapTo(m_window.get(), QPoint(part->width(), 0)).x() : -1);
    }
    return right;
  };
  const int charWidth = m_window->findChild<QLabel*>("statusPart3")->fontMetrics().averageCharWidth();
  const auto edgesAt = [&](int w) {
    std::vector<int> at;
    for (int offset : {360, 240, 80, 40})
      at.push_back(w - display::scaledColumnWidth(offset, charWidth));
    return at;
  };
  const std::vector<int> expected = edgesAt(m_window->width());
  EXPECT_EQ(edges(), expected);
  EXPECT_EQ(display::scaledColumnWidth(360, display::kDesignCharWidth), 360);

  auto* progress = m_window->findChild<QLabel*>(QStringLiteral("statusPart2"));
  const QString text = QStringLiteral("Server:1 user:%1 of a very long progress text").arg(99999);
  progress->setText(text);
  QApplication::processEvents();
  EXPECT_EQ(edges(), expected);
  EXPECT_EQ(progress->text(), text);  // shown cut short, kept whole

  m_window->resize(1000, 600);
  QApplication::processEvents();
  EXPECT_EQ(edges(), edgesAt(1000));

  // A count of a big lab stays readable in its part.
  auto* count = m_window->findChild<QLabel*>(QStringLiteral("statusPart3"));
  EXPECT_GE(count->contentsRect().width(), count->fontMetrics().horizontalAdvance("100000"));
}

// The window opens where and as large as it was left.
TEST_F(WindowTest, TheWindowsPlaceIsRestoredAtTheNextStart) {
  ASSERT_TRUE(makeWindow());
  m_window->show();
  m_window->setGeometry(130, 90, 820, 610);
  QApplication::processEvents();
  const QRect left = m_window->geometry();
  m_window->command(kIdExit);
  ASSERT_TRUE(makeWindow());  // the same lab: the same user's registry
  EXPECT_EQ(m_window->geometry(), left);
}

TEST_F(WindowTest, EscapeIsIgnoredAndExitCloses) {
  ASSERT_TRUE(makeWindow());
  m_window->show();
  QApplication::setActiveWindow(m_window.get());
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(m_window.get(), &press);
  apptest::pressShortcut(*m_window, Qt::Key_Escape);
  QApplication::processEvents();
  EXPECT_TRUE(m_window->isVisible());
  EXPECT_FALSE(m_window->closing());
  m_window->menuAction(kIdExit)->trigger();
  EXPECT_TRUE(m_window->closing());
  EXPECT_FALSE(m_window->isVisible());
}

struct PopupRow {
  DisplayType type;
  bool select;
  std::vector<std::pair<std::string, bool>> items;  // text, enabled
};

class ContextMenus : public WindowTest, public ::testing::WithParamInterface<PopupRow> {};

TEST_P(ContextMenus, EnableTheirItemsByTheSelection) {
  const PopupRow& row = GetParam();
  ASSERT_TRUE(makeWindow());
  auto* view = m_window->listView(row.type);
  ASSERT_NE(view, nullptr);
  if (row.select) {
    // A browse gives the list rows to select.
    m_window->selectTab(row.type == DisplayType::Users ? 5 : 1);
    m_window->browse();
    ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
    ASSERT_GT(view->model()->rowCount(), 0);
    view->selectRow(0);
  }
  auto menu = m_window->makeContextMenu(row.type);
  ASSERT_NE(menu, nullptr);
  std::vector<std::pair<std::string, bool>> items;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) items.emplace_back(a->text().toStdString(), a->isEnabled());
  EXPECT_EQ(items, row.items);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ContextMenus,
    ::testing::Values(
        PopupRow{DisplayType::Users, false,
                 {{"&Properties (Cyclic)", false}, {"P&roperties (Combined)", false},
                  {"&Add", true}, {"&Copy", false}, {"&Delete", false},
                  {"Account &Policies", true}, {"&Settings", true},
                  {"User icon &Legend", true}}},
        PopupRow{DisplayType::Users, true,
                 {{"&Properties (Cyclic)", true}, {"P&roperties (Combined)", true},
                  {"&Add", true}, {"&Copy", true}, {"&Delete", true},
                  {"Account &Policies", true}, {"&Settings", true},
                  {"User icon &Legend", true}}},
        PopupRow{DisplayType::Groups, true,
                 {{"&Properties (Cyclic)", true}, {"P&roperties (Combined)", false},
                  {"&Add", true}, {"&Copy", true}, {"&Delete", true},
                  {"Account &Policies", true}, {"&Settings", true}}},
        PopupRow{DisplayType::Servers, false,
                 {{"&Add to server list", false}, {"&Properties", false},
                  {"&Remove server from list", true}, {"&Settings", true}}},
        PopupRow{DisplayType::Quotas, false,
                 {{"&Add Quota", true}, {"&Delete Quota", false}, {"&Properties", false},
                  {"&Settings", true}}},
        PopupRow{DisplayType::Files, false, {{"&Settings", true}}}));

struct NetworkPopupRow {
  const char* selected;  // text of the selected tree node
  bool server;           // the node names a server
};

class NetworkPopup : public WindowTest, public ::testing::WithParamInterface<NetworkPopupRow> {};

TEST_P(NetworkPopup, OffersOnlyAServerNodeAsTarget) {
  const NetworkPopupRow& row = GetParam();
  ASSERT_TRUE(makeWindow());
  m_window->selectTab(2);
  QTreeWidget* tree = m_window->treeView(DisplayType::Network);
  auto* item = new QTreeWidgetItem(tree, QStringList{QString::fromUtf8(row.selected)});
  tree->setCurrentItem(item);
  auto menu = m_window->makeContextMenu(DisplayType::Network);
  ASSERT_NE(menu, nullptr);
  std::vector<std::pair<std::string, bool>> items;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) items.emplace_back(a->text().toStdString(), a->isEnabled());
  const std::vector<std::pair<std::string, bool>> expected{{"&Add to server list", row.server},
                                                           {"&Properties", row.server},
                                                           {"&Remove server from list", true},
                                                           {"&Settings", true}};
  EXPECT_EQ(items, expected);
  EXPECT_EQ(m_window->targetServer(),
            row.server ? std::string(row.selected) : "Cannot add this type to server list.");

  // The pop-up's own Properties acts on its target; it must not bring the
  // pop-up back (Edit > Properties (Cyclic) on this display opens it).
  bool reopened = false;
  QTimer::singleShot(0, [&] {
    if (QWidget* popup = QApplication::activePopupWidget()) {
      reopened = true;
      popup->close();
    }
  });
  menu->actions()[1]->trigger();
  QApplication::processEvents();
  EXPECT_FALSE(reopened);
}

INSTANTIATE_TEST_SUITE_P(Nodes, NetworkPopup,
                         ::testing::Values(NetworkPopupRow{"\\\\PDC", true},
                                           NetworkPopupRow{"\\\\PDC\\NETLOGON", false},
                                           NetworkPopupRow{"LAB", false},
                                           NetworkPopupRow{"Microsoft Windows Network", false}));

// Shift+F10 opens the current display's pop-up from the keyboard.
TEST_F(WindowTest, ShiftF10OpensTheCurrentDisplaysPopup) {
  ASSERT_TRUE(makeWindow());
  m_window->show();
  m_window->selectTab(display::traitsOf(DisplayType::Users).tab);
  m_window->browse();
  ASSERT_TRUE(apptest::waitUntil([&] { return !m_window->browsing(); }));
  QStringList shown;
  QTimer::singleShot(0, [&] {
    if (auto* popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
      for (QAction* a : popup->actions())
        if (!a->isSeparator()) shown << a->text();
      popup->close();
    }
  });
  QTest::keyClick(m_window.get(), Qt::Key_F10, Qt::ShiftModifier);
  QApplication::processEvents();
  EXPECT_FALSE(shown.isEmpty()) << "no pop-up opened";
}

TEST_F(WindowTest, AboutContactAndLegendRunAsSubDialogs) {
  ASSERT_TRUE(makeWindow());
  m_window->menuAction(kIdAbout)->trigger();
  m_window->menuAction(kIdAboutBox)->trigger();
  m_window->menuAction(kIdContact)->trigger();
  auto legend = m_window->makeContextMenu(DisplayType::Users);
  legend->actions().back()->trigger();
  const auto& shown = m_dialogs->shown();
  ASSERT_EQ(shown.size(), 4u);
  EXPECT_EQ(shown[0].objectName, "dialog100");
  EXPECT_EQ(shown[1].objectName, "dialog100");
  EXPECT_EQ(shown[2].objectName, "dialog148");
  EXPECT_EQ(shown[3].objectName, "dialog216");
  EXPECT_EQ(shown[3].title, "User Legend");
}

// Alt+H, then a letter: a letter shared by two items would only move the
// highlight, so every item of the Help menu has its own, and "A" opens About.
TEST_F(WindowTest, EachHelpItemHasItsOwnLetterAndAOpensAbout) {
  ASSERT_TRUE(makeWindow());
  m_window->show();
  QApplication::setActiveWindow(m_window.get());
  QMenu* help = nullptr;
  for (QAction* a : m_window->menuBar()->actions())
    if (a->text() == "&Help") help = a->menu();
  ASSERT_NE(help, nullptr);
  std::string letters;
  for (QAction* a : help->actions()) {
    if (a->isSeparator()) continue;
    const char letter = app::mnemonicOf(a->text().toStdString());
    EXPECT_NE(letter, 0) << a->text().toStdString();
    EXPECT_EQ(letters.find(letter), std::string::npos) << a->text().toStdString();
    letters += letter;
  }
  EXPECT_EQ(m_window->menuAction(kIdAboutBox)->text().remove('&'), "About Morrowell...");

  help->popup(QPoint(0, 0));
  QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::NoModifier, "a");
  QApplication::sendEvent(help, &a);
  QApplication::processEvents();
  ASSERT_EQ(m_dialogs->shown().size(), 1u);
  EXPECT_EQ(m_dialogs->shown()[0].objectName, "dialog100");
  help->close();
}

TEST(MenuMnemonics, ATakenLetterMovesToTheFirstFreeWordThenLetter) {
  EXPECT_EQ(app::withFreeMnemonic("&About Morrowell...", "cab"), "About &Morrowell...");
  EXPECT_EQ(app::withFreeMnemonic("&About Morrowell...", "xy"), "&About Morrowell...");
  EXPECT_EQ(app::withFreeMnemonic("&Tom && Jerry", "tj"), "T&om && Jerry");
  EXPECT_EQ(app::withFreeMnemonic("&ab", "ab"), "&ab");  // nothing free: left as it is
  EXPECT_EQ(app::mnemonicOf("Fish && &Chips"), 'c');
}

TEST_F(WindowTest, HelpOpensOurOwnPagesAtTheirContents) {
  ASSERT_TRUE(makeWindow());
  m_window->menuAction(kIdHelpContents)->trigger();
  ASSERT_NE(m_window->helpWindow(), nullptr);
  QTextBrowser* browser = m_window->helpWindow()->browser();
  EXPECT_EQ(browser->source().toString(), "qrc:/help/index.html");
  EXPECT_TRUE(browser->toPlainText().contains("Contents"));
  browser->setSource(QUrl("qrc:/help/users.html"));
  m_window->requestHelp();  // every request goes back to the contents
  EXPECT_EQ(browser->source().toString(), "qrc:/help/index.html");
}

TEST_F(WindowTest, BrowseButtonHasEightFramesAndRestsOnTheFirst) {
  ASSERT_TRUE(makeWindow());
  BrowseButton* button = m_window->browseButton();
  EXPECT_TRUE(button->hasPictures());
  EXPECT_EQ(button->frame(), 0);
  button->setFrame(7);
  EXPECT_EQ(button->frame(), 7);
  button->setFrame(8);
  EXPECT_EQ(button->frame(), 0);
}

}  // namespace

namespace {

TEST_F(WindowTest, F1InAModalDialogOpensTheHelpContentsOverThatDialog) {
  ASSERT_TRUE(makeWindow());
  QDialog dialog(m_window.get());
  dialog.setModal(true);
  dialog.show();
  QApplication::processEvents();
  ASSERT_EQ(QApplication::activeModalWidget(), &dialog);

  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QApplication::sendEvent(&dialog, &f1);
  auto* help = dialog.findChild<app::HelpWindow*>();
  ASSERT_NE(help, nullptr);
  EXPECT_TRUE(help->isVisible());
  EXPECT_EQ(help->browser()->source().toString().toStdString(), app::HelpWindow::kContentsPage);
  dialog.close();
}

}  // namespace
