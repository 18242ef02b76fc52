#pragma once
// "Add server to browse list": one edit that turns typed letters to upper
// case. The caller appends a non-empty name to the server list.

#include <QDialog>
#include <string>

class QLineEdit;

namespace servers {

class AddServerDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit AddServerDialog(QWidget* parent = nullptr);
  std::string name() const;
  QLineEdit* nameEdit() const { return m_name; }

 private:
  QLineEdit* m_name = nullptr;
};

}  // namespace servers
