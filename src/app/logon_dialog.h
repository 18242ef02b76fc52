#pragma once
// "Log On": the account and password a network backend acts as, asked when
// there are none or the controller refused them. The password stays in the
// widget only until it is read, and the widget is cleared then.

#include <QDialog>

#include "ui/logon_prompt.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace app {

class LogonDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit LogonDialog(const ui::LogonFields& offered, QWidget* parent = nullptr);
  ~LogonDialog() override;

  // The answer after OK: user, domain and password (the caller wipes it).
  ui::LogonFields fields() const;
  // Takes the password out of the widget into `fields` and clears the widget.
  void takePassword(ui::LogonFields* fields);

  QLineEdit* userEdit() const { return m_user; }
  QLineEdit* passwordEdit() const { return m_password; }
  QLineEdit* domainEdit() const { return m_domain; }
  QLabel* promptLabel() const { return m_prompt; }
  QPushButton* okButton() const { return m_ok; }

 private:
  void updateOk();
  void clearPassword();

  ui::LogonFields m_offered;
  QLabel* m_prompt = nullptr;
  QLineEdit* m_user = nullptr;
  QLineEdit* m_password = nullptr;
  QLineEdit* m_domain = nullptr;
  QPushButton* m_ok = nullptr;
};

// The prompt's text for what was offered.
QString logonPromptText(const ui::LogonFields& offered);

}  // namespace app
