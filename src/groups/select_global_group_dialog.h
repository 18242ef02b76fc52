#pragma once
// "Select Global group to add to local group": a global group of any domain
// of the network. The list always holds the groups of one domain, and OK
// names that domain, whatever the combo shows; OK without a choice is
// Cancel.

#include <QDialog>

#include <string>

class QComboBox;
class QListWidget;

namespace ui {
class Messages;
}

namespace groups {

class SelectGlobalGroupDialog final : public QDialog {
  Q_OBJECT
 public:
  SelectGlobalGroupDialog(std::string server, ui::Messages& messages, QWidget* parent = nullptr);

  // False when the local domain could not be read: the message has been
  // shown and the dialog is not to be run.
  bool opened() const { return m_opened; }
  // "DOMAIN\group" after OK.
  const std::string& chosen() const { return m_chosen; }
  // The domain whose groups the list holds ("" when it holds none).
  const std::string& listDomain() const { return m_listDomain; }
  void accept() override;

  QComboBox* domainCombo() const { return m_domains; }
  QListWidget* groupList() const { return m_groups; }

 private:
  // Lists the global groups `source` shows as those of `domain`; a failure
  // leaves the list empty.
  void fill(std::string_view source, const std::string& domain);
  void domainChosen(const std::string& domain);

  std::string m_server;
  ui::Messages& m_messages;
  bool m_opened = false;
  std::string m_listDomain;
  std::string m_chosen;
  QComboBox* m_domains = nullptr;
  QListWidget* m_groups = nullptr;
};

}  // namespace groups
