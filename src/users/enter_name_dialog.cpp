#include "users/enter_name_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace users {

CEnterName::CEnterName(const std::string& prompt, QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("EnterName"));
  setWindowTitle(QStringLiteral("Enter new name"));
  m_prompt = new QLabel(QString::fromStdString(prompt), this);
  m_name = new QLineEdit(this);
  m_name->setObjectName(QStringLiteral("name"));
  m_name->setMinimumWidth(300);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_prompt);
  layout->addWidget(m_name);
  layout->addWidget(buttons);
}

std::string CEnterName::name() const { return m_name->text().toStdString(); }
QString CEnterName::prompt() const { return m_prompt->text(); }

}  // namespace users
