#include "app/main_window.h"
#include "app/window_identity.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QFrame>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QKeyEvent>
#include <QShortcut>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTabBar>
#include <QTableView>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

#include "app/browse_button.h"
#include "app/browse_server.h"
#include "app/help_window.h"
#include "app/menu_mnemonics.h"
#include "app/splash_dialog.h"
#include "app/status_part.h"
#include "app/window_texts.h"
#include "session/column_sets.h"
#include "session/display_traits.h"
#include "display/print_display.h"
#include "display/result_display.h"
#include "platform/netapi.h"
#include "platform/server_name.h"
#include "platform/system.h"
#include "resources/strings.h"
#include "settings/remembered_choices.h"
#include "settings/settings_store.h"
#include "ui/icons.h"
#include "ui/qt_dialog_runner.h"
#include "ui/qt_file_chooser.h"
#include "ui/qt_messages.h"
#include "window/command_ids.h"

namespace app {
namespace {

using display::DisplayTraits;
using display::DisplayType;
using namespace window;

QString q(std::string_view s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }

constexpr int kUsersTab = 5;

// Missing ports get the Qt versions.
Ports withDefaults(Ports ports) {
  if (!ports.messages) ports.messages = std::make_shared<ui::QtMessages>();
  if (!ports.files) ports.files = std::make_shared<ui::QtFileChooser>();
  if (!ports.dialogs) ports.dialogs = std::make_shared<ui::QtDialogRunner>();
  if (!ports.printer) ports.printer = std::make_shared<display::QtPrintChooser>();
  return ports;
}

}  // namespace

MainWindow::MainWindow(Ports ports, WindowOptions options, QWidget* parent)
    : QMainWindow(parent),
      m_ports(withDefaults(std::move(ports))),
      m_splash(options.splash),
      m_browse(*this, m_ports.messages) {
  m_ports.messages->setOwner(this);
  m_ports.files->setOwner(this);
  m_ports.printer->setOwner(this);
  m_backendName = options.backendName;
  registerCommands(options);
  setObjectName(QStringLiteral("dialog%1").arg(kDlgMain));
  setWindowTitle(q(kWindowTitle));
  setWindowIcon(ui::appIcon());
  setMinimumSize(600, 460);
  m_animation.setInterval(500);
  connect(&m_animation, &QTimer::timeout, this, &MainWindow::animate);
  buildControls();
  buildMenus();
  buildToolbar();
  buildStatusBar();
  buildShortcuts();
  m_display = std::make_unique<display::ResultDisplay>(*this);
  resize(760, 560);
  qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
  m_browse.shutDown();
  if (m_cursorSaved) QApplication::restoreOverrideCursor();
}

bool MainWindow::initialise() {
  // 1. The splash.
  if (m_splash) {
    SplashDialog splash(this);
    splash.exec();
  }
  // 2. The browse button's pictures.
  if (!m_browseButton->hasPictures()) showMessage(kMsgNoBitmapButton);
  // 3. Every display's texts empty, defaults, not browsing.
  m_texts.clear();
  m_settings = settings::SettingsValues{};
  // 4. Status bar.
  setStatusText(0, kTextReady);
  showIdentity();
  // 6. The server to browse.
  const std::optional<std::string> found = startServer();
  if (!found) {
    showMessage(res::loadString(kStrNoDomainController), kCaptionProduct);
    m_closing = true;
    return false;
  }
  // 7. Tabs, Users selected.
  {
    const QSignalBlocker block(m_tabs);
    m_tabs->setCurrentIndex(kUsersTab);
  }
  // 8. Server and settings.
  loadSettings(*found);
  m_choices = settings::loadRememberedChoices();
  m_choicesLoaded = true;
  restorePlace();
  // 9. The display as the settings want it; no browse yet.
  displaySetUp();
  return true;
}

void MainWindow::restorePlace() {
  if (!m_choices.window) return;
  const settings::WindowPlace& place = *m_choices.window;
  const QRect wanted(place.left, place.top, std::max(place.width, minimumWidth()),
                     std::max(place.height, minimumHeight()));
  // A place on a screen that is gone keeps only its size.
  bool onScreen = false;
  for (const QScreen* screen : QGuiApplication::screens())
    onScreen = onScreen || screen->availableGeometry().intersects(wanted);
  if (onScreen)
    setGeometry(wanted);
  else
    resize(wanted.size());
}

void MainWindow::loadSettings(const std::string& server) {
  settings::ServerList servers;
  servers.entries.push_back(server);
  servers.selected = 0;
  settings::SettingsStore store(*m_ports.messages, res::programTitle());
  store.load(m_settings, servers);
  m_settings.g_show_members = 0;  // never survives a restart
  m_combo->clear();
  for (const std::string& s : servers.entries) m_combo->addItem(q(s).toUpper());
  m_combo->model()->sort(0);
  // Only the start-up server is selected: a stored list without it leaves
  // the combo without a selection.
  m_combo->setCurrentIndex(m_combo->findText(q(server).toUpper(), Qt::MatchFixedString));
}

std::vector<std::string> MainWindow::serverList() const {
  std::vector<std::string> servers;
  for (int i = 0; i < m_combo->count(); ++i) servers.push_back(m_combo->itemText(i).toStdString());
  return servers;
}

void MainWindow::setServerList(const std::vector<std::string>& servers, int selected) {
  m_combo->clear();
  for (const std::string& s : servers) m_combo->addItem(q(s));
  // The list is shown sorted, as at start-up; the chosen server stays chosen.
  m_combo->model()->sort(0);
  const bool chosen = selected >= 0 && static_cast<std::size_t>(selected) < servers.size();
  m_combo->setCurrentIndex(
      chosen ? m_combo->findText(q(servers[static_cast<std::size_t>(selected)]),
                                 Qt::MatchFixedString | Qt::MatchCaseSensitive)
             : -1);
  settings::SettingsStore(*m_ports.messages, res::programTitle()).saveBrowseList(servers);
}

void MainWindow::buildControls() {
  auto* central = new QWidget(this);
  auto* layout = new QVBoxLayout(central);
  layout->setContentsMargins(10, 8, 10, 4);

  auto* top = new QHBoxLayout;
  m_combo = new QComboBox(central);
  m_combo->setObjectName(QStringLiteral("control%1").arg(kCtlServerCombo));
  m_combo->setEditable(false);
  // Sorted and upper case, like the list the user keeps.
  m_combo->setInsertPolicy(QComboBox::InsertAlphabetically);
  m_combo->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
  m_browseButton = new BrowseButton(central);
  connect(m_browseButton, &QToolButton::clicked, this, [this] {
    if (browsing())
      stopBrowse();
    else
      browse();
  });
  top->addWidget(m_combo, 1, Qt::AlignTop);
  top->addWidget(m_browseButton, 0, Qt::AlignTop);
  layout->addLayout(top);

  m_tabs = new QTabBar(central);
  m_tabs->setObjectName(QStringLiteral("control%1").arg(kCtlTabs));
  m_tabs->setExpanding(false);
  m_tabs->setDrawBase(true);
  // In tab order, whatever the order of the traits' rows.
  std::vector<const DisplayTraits*> tabbed;
  for (const DisplayTraits& t : display::allDisplayTraits())
    if (t.tab >= 0) tabbed.push_back(&t);
  std::sort(tabbed.begin(), tabbed.end(),
            [](const DisplayTraits* a, const DisplayTraits* b) { return a->tab < b->tab; });
  for (const DisplayTraits* t : tabbed) m_tabs->addTab(q(t->name));
  connect(m_tabs, &QTabBar::currentChanged, this, [this](int) { displaySetUp(); });
  layout->addWidget(m_tabs);

  auto* frame = new QFrame(central);
  frame->setFrameShape(QFrame::StyledPanel);
  auto* area = new QVBoxLayout(frame);
  area->setContentsMargins(10, 10, 10, 10);
  auto* nameRow = new QHBoxLayout;
  m_userNameLabel = new QLabel(q(kTextUserNameLabel), frame);
  m_userNameLabel->setObjectName(QStringLiteral("control%1").arg(kCtlUserNameLabel));
  m_userNameEdit = new QLineEdit(frame);
  m_userNameEdit->setObjectName(QStringLiteral("control%1").arg(kCtlUserNameEdit));
  m_userNameLabel->setBuddy(m_userNameEdit);
  nameRow->addWidget(m_userNameLabel);
  nameRow->addWidget(m_userNameEdit, 1);
  area->addLayout(nameRow);
  m_userNameLabel->hide();
  m_userNameEdit->hide();

  struct ListControl {
    int id;
    bool tree;
  };
  std::vector<ListControl> controls;
  for (const DisplayTraits& t : display::allDisplayTraits()) {
    if (t.listControl != 0) controls.push_back({t.listControl, false});
    if (t.treeControl != 0) controls.push_back({t.treeControl, true});
  }
  for (const ListControl& c : controls) {
    QAbstractItemView* view;
    if (c.tree) {
      auto* tree = new QTreeWidget(frame);
      tree->setHeaderHidden(true);
      tree->setRootIsDecorated(true);
      tree->setColumnCount(1);
      view = tree;
    } else {
      auto* table = new QTableView(frame);
      table->setSelectionBehavior(QAbstractItemView::SelectRows);
      table->setSelectionMode(QAbstractItemView::ExtendedSelection);
      table->setEditTriggers(QAbstractItemView::NoEditTriggers);
      table->setShowGrid(false);
      table->setWordWrap(false);
      table->verticalHeader()->hide();
      table->verticalHeader()->setDefaultSectionSize(20);
      table->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
      table->horizontalHeader()->setHighlightSections(false);
      view = table;
    }
    view->setObjectName(QStringLiteral("control%1").arg(c.id));
    view->setIconSize(QSize(20, 20));
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    view->setVisible(c.id == kCtlNetworkTree);
    area->addWidget(view, 1);
    m_controls[c.id] = view;
  }
  layout->addWidget(frame, 1);
  setCentralWidget(central);
}

QAction* MainWindow::addMenuItem(QMenu* menu, const MenuRow& row) {
  auto* action = menu->addAction(q(row.text));
  action->setData(row.id);
  action->setStatusTip(q(row.status));
  connect(action, &QAction::triggered, this, [this, id = row.id] { command(id); });
  m_menuActions[row.id] = action;
  return action;
}

void MainWindow::buildMenus() {
  // The menus are what the command table holds: every item stands where the
  // command that registered it asked, in the bar's fixed order of menus.
  struct MenuTitle {
    Menu menu;
    const char* title;
  };
  constexpr MenuTitle kMenus[] = {{Menu::File, "&File"},
                                  {Menu::Edit, "&Edit"},
                                  {Menu::Tools, "&Tools"},
                                  {Menu::Window, "&Window"},
                                  {Menu::Help, "&Help"}};
  QMenu* help = nullptr;
  for (const MenuTitle& m : kMenus) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(m.title));
    // A menu shows its items as the table sees them now (a selection may
    // have changed since the last display set-up).
    connect(menu, &QMenu::aboutToShow, this, [this] { updateCommandStates(); });
    for (const MenuRow& row : m_commands.menu(m.menu)) {
      if (row.id == 0)
        menu->addSeparator();
      else
        addMenuItem(menu, row);
    }
    if (m.menu == Menu::Edit) m_editMenu = menu;
    if (m.menu == Menu::Help) help = menu;
  }
  // The extra About item goes where the desktop puts such items: the Help
  // menu, after a separator, when its text is not empty.
  if (const std::string_view about = res::loadString(kStrAboutBoxItem); !about.empty()) {
    help->addSeparator();
    // Beside "&About" its own "&A" would make Alt+H, A only highlight; the
    // item keeps its text and takes the first letter still free.
    std::string taken;
    for (const QAction* item : help->actions())
      if (const char letter = mnemonicOf(item->text().toStdString())) taken += letter;
    auto* action = help->addAction(q(withFreeMnemonic(about, taken)));
    action->setData(kIdAboutBox);
    action->setMenuRole(QAction::NoRole);
    connect(action, &QAction::triggered, this, [this] { command(kIdAboutBox); });
    m_menuActions[kIdAboutBox] = action;
  }
}

void MainWindow::buildToolbar() {
  m_toolbar = addToolBar(QStringLiteral("Toolbar"));
  if (!m_toolbar) {
    showMessage(kMsgNoToolbar);
    return;
  }
  m_toolbar->setObjectName(QStringLiteral("control%1").arg(kCtlToolbar));
  m_toolbar->setMovable(false);
  m_toolbar->setIconSize(QSize(20, 20));
  for (const ToolRow& b : m_commands.toolbar()) {
    if (b.id == 0) {
      m_toolbar->addSeparator();
      m_toolButtons.push_back(nullptr);
      continue;
    }
    auto* action = m_toolbar->addAction(ui::toolbarIcon(b.image), QString());
    const QString tip = q(b.status).left(128);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    action->setData(b.id);
    action->setCheckable(b.checkable);
    const int id = b.id;
    // A button whose state lags behind the display (it is refreshed only at
    // set-ups, clicks and fills) must still not do what the menu refuses.
    connect(action, &QAction::triggered, this, [this, id] {
      if (m_commands.enabled(id, *this)) command(id);
    });
    if (b.hidden) action->setVisible(false);
    m_toolButtons.push_back(action);
  }
}

namespace {

// Where status parts 0 to 3 end: this many pixels left of the window's
// right edge, in the font the widths were made for; a larger font moves
// them in proportion, as it widens the list columns, so a count still fits.
constexpr int kStatusEdges[4] = {360, 240, 80, 40};

int statusEdge(int part, const QWidget& widget) {
  return display::scaledColumnWidth(kStatusEdges[part], widget.fontMetrics().averageCharWidth());
}

}  // namespace

void MainWindow::showIdentity() {
  std::string user;
  setStatusText(1, platform::GetUserName(&user) ? user : std::string(kTextUserUnknownName));
  if (!m_backendName.empty()) setWindowTitle(q(windowTitleFor(m_backendName, ownDomain())));
}

void MainWindow::buildStatusBar() {
  // Part 0 takes what the others leave and the others have fixed widths,
  // so no text (a long progress text in part 2) can push them.
  QStatusBar* bar = statusBar();
  bar->setSizeGripEnabled(false);
  auto* parts = new QWidget(bar);
  auto* row = new QHBoxLayout(parts);
  row->setContentsMargins(0, 0, 0, 0);
  row->setSpacing(0);
  for (int i = 0; i < 4; ++i) {
    auto* part = new StatusPart(parts);
    part->setObjectName(QStringLiteral("statusPart%1").arg(i));
    if (i == 0) {
      row->addWidget(part, 1);
    } else {
      part->setFixedWidth(statusEdge(i - 1, *part) - statusEdge(i, *part));
      row->addWidget(part);
    }
    m_status[i] = part;
  }
  m_statusTail = new QWidget(parts);
  row->addWidget(m_statusTail);
  bar->addWidget(parts, 1);
  // Its size is known only once the bar has laid it out (eventFilter).
  parts->installEventFilter(this);
}

void MainWindow::placeStatusParts() {
  // The bar's own margins sit between the parts and the window's edge;
  // the blank tail makes up the rest of the last part's distance.
  QWidget* parts = m_status[0]->parentWidget();
  const int right = parts->mapTo(this, QPoint(parts->width(), 0)).x();
  const int tail = std::max(0, statusEdge(3, *m_status[3]) - (width() - right));
  if (tail != m_statusTail->width()) m_statusTail->setFixedWidth(tail);
}

void MainWindow::buildShortcuts() {
  // Enter is the dialog's default button: browse, unless closing.
  for (int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
    auto* enter = new QShortcut(QKeySequence(key), this);
    connect(enter, &QShortcut::activated, this, [this] {
      if (!m_closing) browse();
    });
  }
  auto* f5 = new QShortcut(QKeySequence(Qt::Key_F5), this);
  connect(f5, &QShortcut::activated, this, [this] {
    if (!browsing()) browse();
  });
  // No menu item offers Print; the standard shortcut reaches it.
  auto* print = new QShortcut(QKeySequence::Print, this);
  connect(print, &QShortcut::activated, this, [this] { command(kIdPrint); });
  auto* f1 = new QShortcut(QKeySequence(Qt::Key_F1), this);
  connect(f1, &QShortcut::activated, this, &MainWindow::requestHelp);
  // Shift+F10 is the keyboard's way to a pop-up, as the Menu key is: the
  // current display's, at its current row.
  auto* popup = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), this);
  connect(popup, &QShortcut::activated, this, [this] { showKeyboardContextMenu(); });
  // Escape is the dialog's Cancel, which does nothing here.
  auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(escape, &QShortcut::activated, this, [] {});

  for (DisplayType type : {DisplayType::Users, DisplayType::Groups}) {
    QWidget* view = m_controls[display::traitsOf(type).listControl];
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), view, nullptr, nullptr,
                                 Qt::WidgetShortcut);
    connect(insert, &QShortcut::activated, this, [this] { command(kIdAdd); });
    auto* del = new QShortcut(QKeySequence(Qt::Key_Delete), view, nullptr, nullptr,
                              Qt::WidgetShortcut);
    connect(del, &QShortcut::activated, this, [this] { command(kIdDelete); });
  }

  for (const DisplayTraits& t : display::allDisplayTraits()) {
    for (int id : {t.listControl, t.treeControl}) {
      if (id == 0) continue;
      auto* view = static_cast<QAbstractItemView*>(m_controls[id]);
      const DisplayType type = t.type;
      connect(view, &QWidget::customContextMenuRequested, this, [this, view, type](QPoint pos) {
        showContextMenu(type, view->viewport()->mapToGlobal(pos));
      });
      if (qobject_cast<QTableView*>(view))
        connect(view, &QAbstractItemView::doubleClicked, this,
                [this, type](const QModelIndex&) { rowDoubleClicked(type); });
    }
  }
  // A click changes the selection, which the rules of the edit commands
  // read (Properties (Combined) wants two users).
  for (const DisplayTraits& t : display::allDisplayTraits())
    if (t.listControl != 0)
      connect(static_cast<QAbstractItemView*>(m_controls[t.listControl]),
              &QAbstractItemView::clicked, this, [this] { updateCommandStates(); });
}

QString MainWindow::statusText(int part) const {
  return part >= 0 && part < 4 ? m_status[part]->text() : QString();
}

void MainWindow::setStatusText(int part, std::string_view text) {
  if (part >= 0 && part < 4) m_status[part]->setText(q(text));
}

void MainWindow::showMessage(std::string_view text, std::string_view caption) {
  m_ports.messages->ok(std::string(text),
                       caption.empty() ? res::programTitle() : std::string(caption));
}

QAction* MainWindow::menuAction(int id) const {
  auto it = m_menuActions.find(id);
  return it == m_menuActions.end() ? nullptr : it->second;
}

QAction* MainWindow::toolbarButton(int index) const {
  return index >= 0 && std::size_t(index) < m_toolButtons.size() ? m_toolButtons[index] : nullptr;
}

QWidget* MainWindow::resultControl(int controlId) const {
  auto it = m_controls.find(controlId);
  return it == m_controls.end() ? nullptr : it->second;
}

QTableView* MainWindow::listView(DisplayType type) {
  return qobject_cast<QTableView*>(resultControl(display::traitsOf(type).listControl));
}

QTreeWidget* MainWindow::treeView(DisplayType type) {
  return qobject_cast<QTreeWidget*>(resultControl(display::traitsOf(type).treeControl));
}

void MainWindow::setDisplayTexts(DisplayType type, display::DisplayTexts texts) {
  m_texts[type] = std::move(texts);
}

display::DisplayTexts MainWindow::displayTexts(DisplayType type) const {
  auto it = m_texts.find(type);
  return it == m_texts.end() ? display::DisplayTexts{} : it->second;
}

void MainWindow::showStatusTexts(const display::DisplayTexts& texts) {
  setStatusText(2, texts.server);
  setStatusText(3, texts.count);
}

bool MainWindow::enableFirstEditItem() {
  if (!m_editMenu || m_editMenu->actions().isEmpty()) return false;
  m_firstEditHeld = false;
  updateCommandStates();
  return true;
}

bool MainWindow::event(QEvent* event) {
  if (event->type() == QEvent::StatusTip) {
    // Part 0 carries the help of the menu item under the cursor; when the
    // menu closes it goes back to the window's state.
    const QString tip = static_cast<QStatusTipEvent*>(event)->tip();
    if (!tip.isEmpty())
      m_status[0]->setText(tip);
    else if (browsing())
      setStatusText(0, kTextBrowsing);
    else
      setStatusText(0, m_statusNote.empty() ? std::string(kTextReady) : m_statusNote);
    return true;
  }
  return QMainWindow::event(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  // Closing ends the program in any state: a running browse is cancelled
  // and its worker joined, or left to finish on its own if it is stuck in a
  // platform call (it owns its block, and its results go nowhere).
  m_closing = true;
  m_browse.shutDown();
  if (browsing()) endBusy();
  if (m_choicesLoaded) {
    const QRect place = isMaximized() || isMinimized() ? normalGeometry() : geometry();
    if (place.isValid())
      m_choices.window = settings::WindowPlace{place.x(), place.y(), place.width(), place.height()};
    settings::saveRememberedChoices(m_choices);
  }
  if (m_help) m_help->close();
  event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if ((event->type() == QEvent::Resize || event->type() == QEvent::Move) &&
      m_status[0] && watched == m_status[0]->parentWidget()) {
    placeStatusParts();
    return false;
  }
  if (event->type() == QEvent::KeyPress &&
      static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1) {
    // A help window of the main window would be blocked by the dialog, so
    // the dialog gets the help window while it is open.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != this) {
      auto* help = modal->findChild<HelpWindow*>(QString(), Qt::FindDirectChildrenOnly);
      if (!help) help = new HelpWindow(modal);
      help->showContents();
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void MainWindow::requestHelp() {
  if (!m_help) m_help = new HelpWindow(this);
  m_help->showContents();
}

}  // namespace app
