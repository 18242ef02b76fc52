#pragma once
// "Select Group": one global group of the server, never the one being
// edited. OK without a choice is Cancel; a double click is OK.

#include <QDialog>

#include <string>

class QListWidget;

namespace groups {

class SelectGroupDialog final : public QDialog {
  Q_OBJECT
 public:
  SelectGroupDialog(const std::string& server, const std::string& excluded,
                    QWidget* parent = nullptr);

  const std::string& chosen() const { return m_chosen; }
  void accept() override;

  QListWidget* groupList() const { return m_list; }

 private:
  std::string m_chosen;
  QListWidget* m_list = nullptr;
};

}  // namespace groups
