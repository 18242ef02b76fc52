#pragma once
// "Remove server from search list": the server list in a list box; Remove
// takes the selected entry off (never the primary domain controller), OK
// hands the list back.

#include <QDialog>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

namespace ui {
class Messages;
}

namespace servers {

class RemoveServerDialog final : public QDialog {
  Q_OBJECT
 public:
  RemoveServerDialog(std::vector<std::string> servers, std::string pdc, ui::Messages& messages,
                     QWidget* parent = nullptr);
  // The list as OK leaves it.
  const std::vector<std::string>& servers() const { return m_servers; }
  void accept() override;
  void removeSelected();

  QListWidget* list() const { return m_list; }
  QPushButton* removeButton() const { return m_remove; }

 private:
  std::vector<std::string> m_servers;
  std::string m_pdc;
  ui::Messages& m_messages;
  QListWidget* m_list = nullptr;
  QPushButton* m_remove = nullptr;
};

}  // namespace servers
