#pragma once
// One share's name, folder, comment and user limit, for a new share (every
// field) or an existing one (the name fixed; a print share's printer too).

#include <QDialog>
#include <functional>
#include <string>

#include "platform/netapi.h"

class QCheckBox;
class QLineEdit;

namespace ui {
class Messages;
}

namespace servers {

struct ShareFields {
  std::string name;
  std::string path;
  std::string remark;
  platform::DWORD maxUses = platform::SHI_USES_UNLIMITED;
  platform::DWORD type = platform::STYPE_DISKTREE;
};

class ShareEditDialog final : public QDialog {
  Q_OBJECT
 public:
  // Writes the fields to the server; false when the server refused them
  // (and the writer said why): the dialog then stays open with them.
  using Writer = std::function<bool(const ShareFields&)>;

  // `existing`: the share is there already and keeps its name.
  ShareEditDialog(ShareFields fields, bool existing, ui::Messages& messages,
                  QWidget* parent = nullptr, Writer write = {});
  const ShareFields& fields() const { return m_fields; }
  // Takes the fields from the widgets and writes them; stays open on a
  // refused field or a refused write.
  void accept() override;

  QLineEdit* nameEdit() const { return m_name; }
  QLineEdit* pathEdit() const { return m_path; }
  QLineEdit* remarkEdit() const { return m_remark; }
  QCheckBox* unlimitedBox() const { return m_unlimited; }
  QLineEdit* usersEdit() const { return m_users; }

 private:
  ShareFields m_fields;
  ui::Messages& m_messages;
  Writer m_write;
  QLineEdit* m_name = nullptr;
  QLineEdit* m_path = nullptr;
  QLineEdit* m_remark = nullptr;
  QCheckBox* m_unlimited = nullptr;
  QLineEdit* m_users = nullptr;
};

}  // namespace servers
