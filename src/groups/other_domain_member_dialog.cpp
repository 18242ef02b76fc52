#include "groups/other_domain_member_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace groups {

OtherDomainMemberDialog::OtherDomainMemberDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("OtherDomainMember"));
  setWindowTitle(QStringLiteral("Add user or group from other domain"));
  auto* instruction = new QLabel(
      QStringLiteral("Please enter the User name or GLOBAL group name, preceded by the domain "
                     "name. e.g.:\nPARTNER\\jsmith"),
      this);
  m_edit = new QLineEdit(this);
  m_edit->setObjectName(QStringLiteral("member"));
  m_edit->setMinimumWidth(320);
  auto* note = new QLabel(
      QStringLiteral("NB: for performance reasons, the user-name will only be checked once "
                     "closing the Group Properties box, and not immediately after adding the "
                     "user to the group."),
      this);
  note->setWordWrap(true);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &OtherDomainMemberDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(instruction);
  layout->addWidget(m_edit);
  layout->addWidget(note);
  layout->addWidget(buttons);
}

void OtherDomainMemberDialog::accept() {
  m_member = m_edit->text().toStdString();
  QDialog::accept();
}

}  // namespace groups
