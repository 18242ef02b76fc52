#pragma once
// "Enter new name": asks for the name of a copy of an account or a group.
// The caller sets the prompt; any text, the empty one too, is taken.

#include <QDialog>

#include <string>

class QLabel;
class QLineEdit;

namespace users {

struct EnterNameFields {
  std::string prompt;
  std::string name;
};

class EnterNameDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit EnterNameDialog(EnterNameFields fields, QWidget* parent = nullptr);

  const EnterNameFields& fields() const { return m_fields; }
  void accept() override;

  QLineEdit* nameEdit() const { return m_name; }

 private:
  EnterNameFields m_fields;
  QLabel* m_prompt = nullptr;
  QLineEdit* m_name = nullptr;
};

}  // namespace users
