#pragma once
// The Logon To dialog of the user properties: every workstation, or up to
// eight named ones. OK checks the names first; a fault is shown and every
// name stays as typed.

#include <QDialog>

#include <string>
#include <vector>

class QLineEdit;
class QRadioButton;

namespace ui {
class Messages;
}

namespace users {

class LogonToDialog final : public QDialog {
  Q_OBJECT
 public:
  // `list` is the server's comma-separated text (empty: every workstation);
  // `mixed` says the accounts' lists differ, and `list` is then empty.
  LogonToDialog(const QString& who, const std::string& list, bool mixed, ui::Messages& messages,
                QWidget* parent = nullptr);

  // The server's text for what OK accepted.
  const std::string& workstations() const { return m_list; }
  bool touched() const { return m_touched; }
  void accept() override;

  QRadioButton* allRadio() const { return m_all; }
  QRadioButton* theseRadio() const { return m_these; }
  // One edit per name: eight, or as many as the account already had.
  const std::vector<QLineEdit*>& nameEdits() const { return m_names; }

 private:
  void showChoice();

  ui::Messages& m_messages;
  std::string m_list;
  bool m_touched = false;
  QRadioButton* m_all = nullptr;
  QRadioButton* m_these = nullptr;
  std::vector<QLineEdit*> m_names;
};

}  // namespace users
