#pragma once
// The small prompt for a new name (the name of a copy), shared by the user
// and group commands: the caller sets the prompt and reads the name. Copy
// user also asks, below the name, for the copy's full name, its password
// twice and whether it must change it at next logon.

#include <QDialog>
#include <functional>
#include <string>

#include "users/user_copy.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QVBoxLayout;

namespace users {

class CEnterName final : public QDialog {
  Q_OBJECT
 public:
  explicit CEnterName(const std::string& prompt, QWidget* parent = nullptr);

  // The name as typed; empty text is the caller's to judge.
  std::string name() const;
  QLineEdit* nameEdit() const { return m_name; }
  QString prompt() const;

  // Adds the account's fields below the name; the box starts as `mustChange`.
  void offerAccountFields(bool mustChange);
  // What OK runs before the prompt closes; false keeps it open with what was
  // typed. Without one, OK closes it.
  void setOkStep(std::function<bool()> step) { m_okStep = std::move(step); }
  void accept() override;

  // The name and the account's fields as typed (empty when not offered).
  CopyDetails copyDetails() const;
  QLineEdit* fullNameEdit() const { return m_fullName; }
  QLineEdit* passwordEdit() const { return m_password; }
  QLineEdit* confirmationEdit() const { return m_confirmation; }
  QCheckBox* mustChangeBox() const { return m_mustChange; }

 private:
  QVBoxLayout* m_layout = nullptr;
  QLabel* m_prompt = nullptr;
  QLineEdit* m_name = nullptr;
  QLineEdit* m_fullName = nullptr;
  QLineEdit* m_password = nullptr;
  QLineEdit* m_confirmation = nullptr;
  QCheckBox* m_mustChange = nullptr;
  std::function<bool()> m_okStep;
};

}  // namespace users
