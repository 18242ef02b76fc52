#pragma once
// The small prompt for a new name (the name of a copy), shared by the user
// and group commands: the caller sets the prompt and reads the name.

#include <QDialog>
#include <string>

class QLabel;
class QLineEdit;

namespace users {

class CEnterName final : public QDialog {
  Q_OBJECT
 public:
  explicit CEnterName(const std::string& prompt, QWidget* parent = nullptr);

  // The name as typed; empty text is the caller's to judge.
  std::string name() const;
  QLineEdit* nameEdit() const { return m_name; }
  QString prompt() const;

 private:
  QLabel* m_prompt = nullptr;
  QLineEdit* m_name = nullptr;
};

}  // namespace users
