#include "users/delete_members_dialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace users {

CDeleteMembers::CDeleteMembers(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("DeleteMembers"));
  setWindowTitle(QStringLiteral("Delete multiple members"));
  auto* text = new QLabel(QStringLiteral(
      "You have selected to delete more than one member. If you wish, you can delete them all "
      "without further intervention.\n\nARE YOU SURE YOU WISH TO DELETE MULTIPLE "
      "MEMBERS?\n\n!! NB: THERE IS NO UNDELETE FUNCTION AVAILABLE !!"), this);
  text->setWordWrap(true);
  auto* all = new QPushButton(QStringLiteral("&Delete All"), this);
  auto* one = new QPushButton(QStringLiteral("&One at a time"), this);
  auto* cancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
  // The careful answer is the one Enter gives.
  one->setDefault(true);
  connect(all, &QPushButton::clicked, this, &CDeleteMembers::deleteAll);
  connect(one, &QPushButton::clicked, this, &CDeleteMembers::oneAtATime);
  connect(cancelButton, &QPushButton::clicked, this, &CDeleteMembers::cancel);
  auto* row = new QHBoxLayout;
  row->addWidget(all);
  row->addWidget(one);
  row->addWidget(cancelButton);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(text);
  layout->addLayout(row);
  setMinimumWidth(420);
}

void CDeleteMembers::choose(Choice choice) {
  m_choice = choice;
  if (choice == Cancel)
    reject();
  else
    accept();
}

}  // namespace users
