#include "quotas/quota_settings_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dlgthreads/quota_data.h"
#include "resources/strings.h"
#include "ui/messages.h"

namespace quotas {

using dlgthreads::kQuotaMaxSize;
using dlgthreads::kQuotaMinSize;

QuotaSettingsDialog::QuotaSettingsDialog(QuotaFields fields, ui::Messages& messages,
                                         QWidget* parent)
    : QDialog(parent), m_fields(std::move(fields)), m_messages(messages) {
  setObjectName(QStringLiteral("QuotaSettings"));
  setWindowTitle(QStringLiteral("Quota Settings"));
  m_size = new QLineEdit(this);
  m_size->setObjectName(QStringLiteral("size"));
  m_directory = new QLineEdit(this);
  m_directory->setObjectName(QStringLiteral("directory"));
  m_directory->setMaxLength(static_cast<int>(dlgthreads::kQuotaNameChars) - 1);
  // Kept for the layout the service's users know; a path is typed, not picked.
  m_browse = new QPushButton(QStringLiteral("&Browse"), this);
  m_browse->hide();
  m_directory->setMinimumWidth(320);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Quota size (in kB):"), m_size);
  form->addRow(QStringLiteral("Directory for quota:"), m_directory);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QuotaSettingsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addWidget(buttons);
  exchange(false);
  // An existing entry's directory is its value's name: changing it would
  // make a new entry, not edit this one.
  m_directory->setEnabled(m_fields.directory.empty());
}

bool QuotaSettingsDialog::exchange(bool save) {
  if (!save) {
    m_size->setText(QString::number(m_fields.size));
    m_directory->setText(QString::fromStdString(m_fields.directory));
    return true;
  }
  bool number = false;
  const qulonglong size = m_size->text().trimmed().toULongLong(&number);
  if (!number || size < kQuotaMinSize || size > kQuotaMaxSize) {
    m_messages.ok("Please enter an integer between " + std::to_string(kQuotaMinSize) + " and " +
                      std::to_string(kQuotaMaxSize) + ".",
                  res::programTitle(), ui::Icon::Warning);
    m_size->setFocus();
    return false;
  }
  const std::string directory = m_directory->text().toStdString();
  // An empty name is the key's default value, which is no directory at all.
  if (directory.empty()) {
    m_messages.ok("Please enter a directory for the quota.", res::programTitle(),
                  ui::Icon::Warning);
    m_directory->setFocus();
    return false;
  }
  m_fields.size = static_cast<std::uint32_t>(size);
  m_fields.directory = directory;
  return true;
}

void QuotaSettingsDialog::accept() {
  if (exchange(true)) QDialog::accept();
}

}  // namespace quotas
