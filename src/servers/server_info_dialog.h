#pragma once
// The "Server information" dialog: a server's description, type and
// announcement settings, the users connected to it and the files they hold
// open; one user or all can be disconnected, and OK writes the settings.

#include <QDialog>
#include <string>
#include <vector>

#include "servers/server_info.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;
class QTreeWidget;

namespace ui {
class Messages;
}

namespace servers {

class ServerInfoDialog final : public QDialog {
  Q_OBJECT
 public:
  ServerInfoDialog(std::string server, ui::Messages& messages, QWidget* parent = nullptr);

  // The opening steps: reads the server, its sessions and open files into
  // the dialog. False, after its message, when the dialog must close.
  bool load();
  // The OK step: writes each setting, reporting each failure, and closes.
  void accept() override;

  void disconnectSelected();
  void disconnectAllSessions();

  const ServerInfoFields& fields() const { return m_fields; }
  QLineEdit* descriptionEdit() const { return m_description; }
  QLabel* typeLabel() const { return m_type; }
  QCheckBox* hiddenBox() const { return m_hidden; }
  QLineEdit* maxUsersEdit() const { return m_maxUsers; }
  QCheckBox* autoDisconnectBox() const { return m_autoDisconnect; }
  QLineEdit* disconnectEdit() const { return m_disconnect; }
  QLineEdit* userPathEdit() const { return m_userPath; }
  QLineEdit* rateEdit() const { return m_rate; }
  QLineEdit* deltaEdit() const { return m_delta; }
  QCheckBox* timeServerBox() const { return m_timeServer; }
  QTreeWidget* sessionsList() const { return m_sessions; }
  QTreeWidget* filesList() const { return m_files; }
  QPushButton* disconnectButton() const { return m_disconnectOne; }
  QPushButton* disconnectAllButton() const { return m_disconnectAll; }
  QTabBar* tabs() const { return m_tabs; }

 private:
  void buildControls();
  // Moves the fields into the widgets, or (save) back.
  void exchange(bool save);
  void fillLists();
  void emptyLists();
  void hiddenClicked(bool checked);
  // After either disconnect button: everything read again, unsaved edits
  // gone; the dialog closes when the server can no longer be read.
  void reopen();

  std::string m_server;
  ui::Messages& m_messages;
  ServerInfoFields m_fields;
  std::vector<platform::SESSION_INFO_2> m_sessionRows;
  std::vector<platform::FILE_INFO_3> m_fileRows;

  QLineEdit* m_description = nullptr;
  QLabel* m_type = nullptr;
  QCheckBox* m_hidden = nullptr;
  QLineEdit* m_maxUsers = nullptr;
  QCheckBox* m_autoDisconnect = nullptr;
  QLineEdit* m_disconnect = nullptr;
  QLineEdit* m_userPath = nullptr;
  QLineEdit* m_rate = nullptr;
  QLineEdit* m_delta = nullptr;
  QCheckBox* m_timeServer = nullptr;
  QTabBar* m_tabs = nullptr;
  QTreeWidget* m_sessions = nullptr;
  QTreeWidget* m_files = nullptr;
  QPushButton* m_disconnectOne = nullptr;
  QPushButton* m_disconnectAll = nullptr;
};

}  // namespace servers
