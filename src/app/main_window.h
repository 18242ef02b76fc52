#pragma once
// The main window: menus, toolbar, server combo, browse button, the tabs of
// the display types with one result control each, and the status bar. It
// holds the settings and the per-display texts for the whole run, builds its
// menus, toolbar and pop-ups from command ids and runs every command through
// the command table, with itself as the commands' WindowContext. The browse
// in progress belongs to its BrowseController.

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/browse_controller.h"
#include "app/help_window.h"
#include "display/fill_host.h"
#include "settings/settings_values.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/messages.h"
#include "ui/print_chooser.h"
#include "window/command_table.h"
#include "window/window_context.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QTabBar;
class QTableView;
class QToolBar;
class QTreeWidget;

namespace display {
class ResultDisplay;
}

namespace app {

class BrowseButton;

// The window's ports to the user: message boxes, file choosers, sub-dialogs,
// the print dialog. Missing ones get the Qt versions.
struct Ports {
  std::shared_ptr<ui::Messages> messages{};
  std::shared_ptr<ui::FileChooser> files{};
  std::shared_ptr<ui::DialogRunner> dialogs{};
  std::shared_ptr<ui::PrintChooser> printer{};
};

struct WindowOptions {
  bool splash = true;  // tests and screenshots skip the two-second splash
  // The backend serving the platform, shown in the title with the domain;
  // empty: the plain title.
  std::string backendName{};
  // Registers commands besides the program's own, before the menus first ask
  // for their states.
  std::function<void(window::CommandTable&)> moreCommands{};
};

class MainWindow final : public QMainWindow,
                         public display::FillHost,
                         public window::WindowContext,
                         private BrowseController::View {
  Q_OBJECT
 public:
  explicit MainWindow(Ports ports, WindowOptions options = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The initialisation sequence. False when no server to browse could be
  // found: the termination message has been shown and the program ends.
  bool initialise();

  // Runs a command by its id through the command table (menu, toolbar,
  // keys, pop-ups).
  void command(int id);

  // ---- browsing ----
  void browse();
  void stopBrowse() { m_browse.stop(); }
  bool browsing() const { return m_browse.browsing(); }
  bool closing() const { return m_closing; }
  std::uint64_t browseId() const { return m_browse.browseId(); }
  int animationFrame() const;

  // ---- display set-up ----
  void displaySetUp();
  void selectTab(int index);  // Window menu: select the tab, then set up
  void showColumns();

  // Every help request opens the help pages at their contents.
  void requestHelp();
  HelpWindow* helpWindow() const { return m_help; }

  // The context menu of a display type's result control, with its items
  // enabled for the current selection; nullptr for a control without one.
  std::unique_ptr<QMenu> makeContextMenu(display::DisplayType type);

  // ---- for the tests ----
  QString statusText(int part) const;
  QComboBox* serverCombo() const { return m_combo; }
  QTabBar* tabBar() const { return m_tabs; }
  BrowseButton* browseButton() const { return m_browseButton; }
  QToolBar* toolBar() const { return m_toolbar; }
  QAction* menuAction(int id) const;
  // Toolbar button by its position (0..20, separators counted); nullptr
  // for separators.
  QAction* toolbarButton(int index) const;
  QWidget* resultControl(int controlId) const;
  QLineEdit* userNameEdit() const { return m_userNameEdit; }
  QLabel* userNameLabel() const { return m_userNameLabel; }
  display::ResultDisplay& resultDisplay() { return *m_display; }
  const std::string& targetServer() const { return m_targetServer; }
  window::CommandTable& commands() { return m_commands; }

  // ---- window::WindowContext ----
  std::string browseServer() const override;
  settings::SettingsValues& settings() override { return m_settings; }
  const settings::SettingsValues& settings() const override { return m_settings; }
  display::DisplayType displayType() const override { return currentDisplayType(); }
  window::Selection selection() const override;
  const std::string& popupTarget() const override { return m_targetServer; }
  ui::Messages& messages() override { return *m_ports.messages; }
  ui::FileChooser& files() override { return *m_ports.files; }
  ui::DialogRunner& dialogs() override { return *m_ports.dialogs; }
  ui::PrintChooser& printer() override { return *m_ports.printer; }
  display::DisplayViews& views() override { return *this; }
  void refresh() override;
  void setCountText(display::DisplayType type, std::string count) override;
  void settingsApplied(const std::vector<display::DisplayType>& rebuilt) override;
  void showContextMenu() override;
  std::vector<std::string> serverList() const override;
  void setServerList(const std::vector<std::string>& servers, int selected) override;
  void showStatusNote(std::string_view note) override;
  settings::RememberedChoices* rememberedChoices() override { return &m_choices; }

  // ---- display::FillHost ----
  display::DisplayType currentDisplayType() const override;
  const settings::SettingsValues& settingsValues() const override { return m_settings; }
  QTableView* listView(display::DisplayType type) override;
  QTreeWidget* treeView(display::DisplayType type) override;
  void setDisplayTexts(display::DisplayType type, display::DisplayTexts texts) override;
  display::DisplayTexts displayTexts(display::DisplayType type) const override;
  void showStatusTexts(const display::DisplayTexts& texts) override;
  void endBusy() override { m_browse.endBusy(); }
  bool enableFirstEditItem() override;

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // F1 in a modal dialog: the dialog blocks the window's own shortcut.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // ---- BrowseController::View ----
  void showBusy(std::string_view name) override;
  void showIdle() override;
  void showWorkerStatus(const std::string& text) override;
  void showStopped() override;
  void fill(dlgthreads::WorkerBlock& block) override;
  void showMessage(std::string_view text) override { showMessage(text, {}); }

  void registerCommands(const WindowOptions& options);
  void buildControls();
  void buildMenus();
  void buildToolbar();
  void buildStatusBar();
  // The logged-on account in status part 1, the backend and domain in the
  // title (a logon prompt may have changed them since the last time).
  void showIdentity();
  void placeStatusParts();
  void buildShortcuts();
  QAction* addMenuItem(QMenu* menu, const window::MenuRow& row);
  void setStatusText(int part, std::string_view text);
  void showMessage(std::string_view text, std::string_view caption);
  void loadSettings(const std::string& server);
  // Asks the command table for the state of every menu item and toolbar
  // button (the first Edit item stays greyed while it is held).
  void updateCommandStates();
  void showResultControl(display::DisplayType type);
  void animate();
  void showContextMenu(display::DisplayType type, const QPoint& globalPos);
  // The keyboard's pop-up (Shift+F10) for the current display.
  void showKeyboardContextMenu();
  void openAbout();
  void openContact();
  void openUserLegend();
  void rowDoubleClicked(display::DisplayType type);
  window::Selection selectionOf(display::DisplayType type) const;

  Ports m_ports;
  bool m_splash = true;
  settings::SettingsValues m_settings;
  window::CommandTable m_commands;

  // Per-display texts, by display type code.
  std::map<display::DisplayType, display::DisplayTexts> m_texts;

  BrowseController m_browse;
  bool m_closing = false;
  std::string m_backendName;
  bool m_cursorSaved = false;
  // The first Edit item is greyed from the start of a browse until the next
  // display set-up or completed fill.
  bool m_firstEditHeld = false;
  QTimer m_animation;

  // The server a Servers or Network context-menu command acts on.
  std::string m_targetServer;
  // Controls.
  QComboBox* m_combo = nullptr;
  BrowseButton* m_browseButton = nullptr;
  QTabBar* m_tabs = nullptr;
  QToolBar* m_toolbar = nullptr;
  QLineEdit* m_userNameEdit = nullptr;
  QLabel* m_userNameLabel = nullptr;
  std::array<QLabel*, 4> m_status{};
  QWidget* m_statusTail = nullptr;  // the blank end of the status bar
  // What the last command reported (showStatusNote); part 0 goes back to it
  // rather than to "Ready" when a menu closes, until the next browse.
  std::string m_statusNote;
  // Loaded at initialisation and saved when the window closes (not by an
  // unattended run, whose window nobody placed).
  settings::RememberedChoices m_choices;
  bool m_choicesLoaded = false;
  void restorePlace();
  std::map<int, QWidget*> m_controls;  // by control id
  std::map<int, QAction*> m_menuActions;
  // By position; nullptr for separators.
  std::vector<QAction*> m_toolButtons;
  QMenu* m_editMenu = nullptr;
  QPointer<HelpWindow> m_help;
  std::unique_ptr<display::ResultDisplay> m_display;
};

}  // namespace app
