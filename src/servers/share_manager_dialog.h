#pragma once
// The share manager: a server's shares (all of them, read to the end) with
// their folder, comment and user limit; new shares, their properties, and
// an end to sharing. Every change goes to the server at once.

#include <QDialog>
#include <string>
#include <vector>

#include "platform/netapi.h"

class QPushButton;
class QTreeWidget;

namespace ui {
class DialogRunner;
class Messages;
}  // namespace ui

namespace servers {

class ShareManagerDialog final : public QDialog {
  Q_OBJECT
 public:
  ShareManagerDialog(std::string server, ui::Messages& messages, ui::DialogRunner& dialogs,
                     QWidget* parent = nullptr);
  // Reads the shares; false, after its message, when they cannot be read.
  bool load();

  void newShare();
  void editSelected();
  void stopSharing();

  QTreeWidget* list() const { return m_list; }
  const std::vector<platform::SHARE_INFO_2>& shares() const { return m_shares; }

 private:
  const platform::SHARE_INFO_2* selected() const;
  void fail(const std::string& what, platform::DWORD status, platform::DWORD parm);

  std::string m_server;
  ui::Messages& m_messages;
  ui::DialogRunner& m_dialogs;
  std::vector<platform::SHARE_INFO_2> m_shares;
  QTreeWidget* m_list = nullptr;
  QPushButton* m_edit = nullptr;
  QPushButton* m_stop = nullptr;
};

}  // namespace servers
