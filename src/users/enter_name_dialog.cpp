#include "users/enter_name_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace users {

EnterNameDialog::EnterNameDialog(EnterNameFields fields, QWidget* parent)
    : QDialog(parent), m_fields(std::move(fields)) {
  setObjectName(QStringLiteral("EnterName"));
  setWindowTitle(QStringLiteral("Enter new name"));
  m_prompt = new QLabel(QString::fromStdString(m_fields.prompt), this);
  m_prompt->setObjectName(QStringLiteral("prompt"));
  m_name = new QLineEdit(QString::fromStdString(m_fields.name), this);
  m_name->setObjectName(QStringLiteral("name"));
  m_name->setMinimumWidth(320);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &EnterNameDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_prompt);
  layout->addWidget(m_name);
  layout->addWidget(buttons);
}

void EnterNameDialog::accept() {
  m_fields.name = m_name->text().toStdString();
  QDialog::accept();
}

}  // namespace users
