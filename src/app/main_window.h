#pragma once
// The main window: menus, toolbar, server combo, browse button, the tabs of
// the display types with one result control each, and the status bar. It
// holds the program's state for the whole run (settings, per-display texts,
// the browse in progress) and is the display's FillHost and the workers'
// host (through WindowWorkerHost).

#include <QMainWindow>
#include <QPointer>
#include <QTimer>
#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>
#include <string_view>

#include "app/command_line.h"
#include "app/help_window.h"
#include "display/fill_host.h"
#include "dlgthreads/worker_thread.h"
#include "settings/settings_store.h"
#include "settings/settings_values.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/messages.h"

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
class WindowWorkerHost;

// The window's ports to the user: message boxes, file choosers, sub-dialogs.
struct Ports {
  std::shared_ptr<ui::Messages> messages;
  std::shared_ptr<ui::FileChooser> files;
  std::shared_ptr<ui::DialogRunner> dialogs;
};

struct WindowOptions {
  bool splash = true;  // tests and screenshots skip the two-second splash
};

class MainWindow final : public QMainWindow, public display::FillHost {
  Q_OBJECT
 public:
  explicit MainWindow(Ports ports, WindowOptions options = {}, QWidget* parent = nullptr);
  ~MainWindow() override;

  // The initialisation sequence. False when no server to browse could be
  // found: the termination message has been shown and the program ends.
  bool initialise();

  // Runs a command by its id (menu, toolbar, keys, context menus).
  void command(int id);

  // ---- browse controller ----
  void browse();
  void stopBrowse();
  void beginBusy(std::string_view name);
  void endBusy() override;
  bool browsing() const { return m_browsing; }
  bool closing() const { return m_closing; }
  std::uint64_t browseId() const { return m_browseId; }
  int animationFrame() const;

  // ---- display set-up ----
  void displaySetUp();
  void selectTab(int index);  // Window menu: select the tab, then set up
  void showColumns();

  // Every help request opens the help pages at their contents.
  void requestHelp();
  HelpWindow* helpWindow() const { return m_help; }

  // The consumer of an unattended request: minimise, browse the given
  // server's display; when that browse has ended, export it to the given
  // file and close. autoCommandResult() is set once the export has run.
  void runAutoCommand(const AutoCommand& command);
  const std::optional<AutoCommand>& autoCommand() const { return m_autoCommand; }
  struct AutoCommandResult {
    bool ok = false;
    std::string failure;  // what failed, for the one line the run prints
  };
  const std::optional<AutoCommandResult>& autoCommandResult() const { return m_autoResult; }

  // The context menu of a display type's result control, with its items
  // enabled for the current selection; nullptr for a control without one.
  std::unique_ptr<QMenu> makeContextMenu(display::DisplayType type);

  // ---- for the tests and the dialogs ----
  QString statusText(int part) const;
  QComboBox* serverCombo() const { return m_combo; }
  QTabBar* tabBar() const { return m_tabs; }
  BrowseButton* browseButton() const { return m_browseButton; }
  QToolBar* toolBar() const { return m_toolbar; }
  QAction* menuAction(int id) const;
  // Toolbar button by its position (0..20); nullptr for separators.
  QAction* toolbarButton(int index) const;
  QWidget* resultControl(int controlId) const;
  QLineEdit* userNameEdit() const { return m_userNameEdit; }
  QLabel* userNameLabel() const { return m_userNameLabel; }
  settings::SettingsValues& settings() { return m_settings; }
  display::ResultDisplay& resultDisplay() { return *m_display; }
  ui::Messages& messages() override { return *m_ports.messages; }
  const Ports& ports() const { return m_ports; }
  const std::string& targetServer() const { return m_targetServer; }

  // ---- display::FillHost ----
  display::DisplayType currentDisplayType() const override;
  const settings::SettingsValues& settingsValues() const override { return m_settings; }
  // The browse server as taken from the combo at the start of the browse.
  const std::string& currentServerText() const { return m_currentServer; }
  QTableView* listView(display::DisplayType type) override;
  QTreeWidget* treeView(display::DisplayType type) override;
  void setDisplayTexts(display::DisplayType type, display::DisplayTexts texts) override;
  display::DisplayTexts displayTexts(display::DisplayType type) const override;
  void showStatusTexts(const display::DisplayTexts& texts) override;
  bool enableFirstEditItem() override;

  // ---- from the workers (queued to this thread by WindowWorkerHost) ----
  void workerStatusText(std::uint64_t browseId, const std::string& text);
  void workFinished(const std::shared_ptr<dlgthreads::WorkerBlock>& block);

 protected:
  bool event(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  // F1 in a modal dialog: the dialog blocks the window's own shortcut.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void buildControls();
  void buildMenus();
  void buildToolbar();
  void buildStatusBar();
  void buildShortcuts();
  QAction* addMenuItem(QMenu* menu, int id, const char* text);
  void setStatusText(int part, std::string_view text);
  void showMessage(std::string_view text, std::string_view caption = {});
  bool findBrowseServer(std::string* server);
  void loadSettings(const std::string& server);
  void setMenuStates(display::DisplayType type);
  void setToolbarStates(display::DisplayType type);
  void showResultControl(display::DisplayType type);
  void startWorker(dlgthreads::WorkKind kind, dlgthreads::WorkerFunction work,
                   display::DisplayType type);
  void stopWorker();
  // The access rights form's name is a user or a local group of the browse
  // server.
  bool accessRightsNameKnown() const;
  void animate();
  void updateCombinedItem(int selectedUsers);
  int selectedRows(display::DisplayType type) const;
  void showContextMenu(display::DisplayType type, const QPoint& globalPos);
  void propertiesCyclic();
  void openAbout();
  void openContact();
  void openUserLegend();
  void rowDoubleClicked(display::DisplayType type);

  Ports m_ports;
  WindowOptions m_options;
  settings::SettingsValues m_settings;

  // Per-display texts, by display type code.
  std::map<display::DisplayType, display::DisplayTexts> m_texts;

  // Browse state.
  bool m_browsing = false;
  bool m_closing = false;
  bool m_cursorSaved = false;
  std::string m_currentServer;
  std::string m_busyName;
  std::uint64_t m_browseId = 0;
  dlgthreads::WorkerThread m_worker;
  // Workers of stopped browses that had not ended when the next one began.
  std::vector<dlgthreads::WorkerThread> m_stoppedWorkers;
  std::shared_ptr<WindowWorkerHost> m_host;
  QTimer m_animation;

  // The server a Servers or Network context-menu command acts on.
  std::string m_targetServer;
  std::optional<AutoCommand> m_autoCommand;
  std::optional<AutoCommandResult> m_autoResult;
  bool m_autoFinishQueued = false;
  void queueAutoCommandFinish();
  void finishAutoCommand();

  // Controls.
  QComboBox* m_combo = nullptr;
  BrowseButton* m_browseButton = nullptr;
  QTabBar* m_tabs = nullptr;
  QToolBar* m_toolbar = nullptr;
  QLineEdit* m_userNameEdit = nullptr;
  QLabel* m_userNameLabel = nullptr;
  std::array<QLabel*, 4> m_status{};
  std::map<int, QWidget*> m_controls;  // by control id
  std::map<int, QAction*> m_menuActions;
  std::array<QAction*, 21> m_toolButtons{};
  QMenu* m_editMenu = nullptr;
  QPointer<HelpWindow> m_help;
  std::unique_ptr<display::ResultDisplay> m_display;
};

// The control id of a display type's result control under the settings
// (Files: list 1115, or tree 1262 for f_display_type 1); 0 for None.
int resultControlId(display::DisplayType type, const settings::SettingsValues& values);
// The toolbar position of a display type's button, or -1.
int displayButtonIndex(display::DisplayType type);

}  // namespace app
