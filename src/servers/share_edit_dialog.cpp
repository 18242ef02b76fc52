#include "servers/share_edit_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QVBoxLayout>

#include "resources/strings.h"
#include "ui/messages.h"

namespace servers {

using platform::SHI_USES_UNLIMITED;

ShareEditDialog::ShareEditDialog(ShareFields fields, bool existing, ui::Messages& messages,
                                 QWidget* parent, Writer write)
    : QDialog(parent), m_fields(std::move(fields)), m_messages(messages), m_write(std::move(write)) {
  setObjectName(QStringLiteral("ShareProperties"));
  setWindowTitle(existing ? QStringLiteral("Share Properties") : QStringLiteral("New Share"));
  m_name = new QLineEdit(QString::fromStdString(m_fields.name), this);
  m_name->setMaxLength(static_cast<int>(platform::NNLEN));
  m_name->setEnabled(!existing);
  m_path = new QLineEdit(QString::fromStdString(m_fields.path), this);
  m_path->setEnabled((m_fields.type & ~platform::STYPE_SPECIAL) == platform::STYPE_DISKTREE);
  m_remark = new QLineEdit(QString::fromStdString(m_fields.remark), this);
  m_remark->setMaxLength(static_cast<int>(platform::MAXCOMMENTSZ));
  m_unlimited = new QCheckBox(QStringLiteral("&Maximum allowed"), this);
  m_users = new QLineEdit(this);
  const bool unlimited = m_fields.maxUses == SHI_USES_UNLIMITED;
  m_unlimited->setChecked(unlimited);
  m_users->setText(unlimited ? QString() : QString::number(m_fields.maxUses));
  m_users->setEnabled(!unlimited);
  connect(m_unlimited, &QCheckBox::toggled, m_users, [this](bool on) { m_users->setEnabled(!on); });
  auto* limit = new QHBoxLayout;
  limit->addWidget(m_unlimited);
  limit->addWidget(m_users);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Share &name:"), m_name);
  form->addRow(QStringLiteral("&Path:"), m_path);
  form->addRow(QStringLiteral("&Comment:"), m_remark);
  form->addRow(QStringLiteral("User limit:"), limit);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ShareEditDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
}

void ShareEditDialog::accept() {
  const std::string name = m_name->text().trimmed().toStdString();
  if (name.empty()) {
    m_messages.ok("Please enter a share name.", res::programTitle(), ui::Icon::Warning);
    return;
  }
  platform::DWORD maxUses = SHI_USES_UNLIMITED;
  if (!m_unlimited->isChecked()) {
    bool number = false;
    const qulonglong users = m_users->text().trimmed().toULongLong(&number);
    if (!number || users < 1 || users >= SHI_USES_UNLIMITED) {
      m_messages.ok("Please enter a user limit between 1 and " +
                        std::to_string(SHI_USES_UNLIMITED - 1) + ", or choose Maximum allowed.",
                    res::programTitle(), ui::Icon::Warning);
      return;
    }
    maxUses = static_cast<platform::DWORD>(users);
  }
  ShareFields typed = m_fields;
  typed.name = name;
  typed.path = m_path->text().trimmed().toStdString();
  typed.remark = m_remark->text().toStdString();
  typed.maxUses = maxUses;
  if (m_write && !m_write(typed)) return;
  m_fields = std::move(typed);
  QDialog::accept();
}

}  // namespace servers
