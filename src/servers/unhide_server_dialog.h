#pragma once
// "Unhide Server": the UNC name of a hidden server; OK makes it visible to
// browsing again.

#include <QDialog>

class QLineEdit;

namespace ui {
class Messages;
}

namespace servers {

class UnhideServerDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit UnhideServerDialog(ui::Messages& messages, QWidget* parent = nullptr);
  void accept() override;
  QLineEdit* nameEdit() const { return m_name; }

 private:
  ui::Messages& m_messages;
  QLineEdit* m_name = nullptr;
};

}  // namespace servers
