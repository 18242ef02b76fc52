#include "users/enter_name_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace users {
namespace {

QLineEdit* edit(const char* name, QWidget* parent, bool password = false) {
  auto* line = new QLineEdit(parent);
  line->setObjectName(QString::fromLatin1(name));
  if (password) line->setEchoMode(QLineEdit::Password);
  return line;
}

std::string text(const QLineEdit* line) {
  return line ? line->text().toStdString() : std::string();
}

}  // namespace

CEnterName::CEnterName(const std::string& prompt, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EnterName"));
  setWindowTitle(QStringLiteral("Enter new name"));
  m_prompt = new QLabel(QString::fromStdString(prompt), this);
  m_name = edit("name", this);
  m_name->setMinimumWidth(300);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CEnterName::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  m_layout = new QVBoxLayout(this);
  m_layout->addWidget(m_prompt);
  m_layout->addWidget(m_name);
  m_layout->addWidget(buttons);
}

std::string CEnterName::name() const { return text(m_name); }
QString CEnterName::prompt() const { return m_prompt->text(); }

void CEnterName::offerAccountFields(bool mustChange) {
  if (m_fullName) return;
  // The same words as the user properties dialog's.
  m_fullName = edit("fullName", this);
  m_password = edit("password", this, true);
  m_confirmation = edit("confirmation", this, true);
  m_mustChange = new QCheckBox(QStringLiteral("User &must change password at next logon"), this);
  m_mustChange->setObjectName(QStringLiteral("mustChange"));
  m_mustChange->setChecked(mustChange);
  auto* fields = new QFormLayout;
  fields->addRow(QStringLiteral("F&ull Name:"), m_fullName);
  fields->addRow(QStringLiteral("&Password"), m_password);
  fields->addRow(QStringLiteral("&Confirm Password"), m_confirmation);
  fields->addRow(m_mustChange);
  // Below the name, above the buttons.
  m_layout->insertLayout(m_layout->count() - 1, fields);
}

void CEnterName::accept() {
  if (m_okStep && !m_okStep()) return;
  QDialog::accept();
}

CopyDetails CEnterName::copyDetails() const {
  return {.name = name(),
          .fullName = text(m_fullName),
          .password = text(m_password),
          .confirmation = text(m_confirmation),
          .mustChange = m_mustChange && m_mustChange->isChecked()};
}

}  // namespace users
