#include "groups/group_properties_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSet>
#include <QVBoxLayout>

#include <vector>

#include "groups/other_domain_member_dialog.h"
#include "groups/select_global_group_dialog.h"
#include "groups/select_group_dialog.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/entry_lists.h"
#include "ui/messages.h"

namespace groups {
namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

GroupPropertiesDialog::GroupPropertiesDialog(GroupOpen open, ui::Messages& messages,
                                             ui::DialogRunner& dialogs, QWidget* parent)
    : QDialog(parent), m_open(std::move(open)), m_messages(messages), m_dialogs(dialogs) {
  setObjectName(QStringLiteral("GroupProperties"));
  setWindowTitle(QStringLiteral("Group Properties"));
  m_fields = loadGroup(m_open.server, m_open.name, m_open.isNew, m_open.local);

  m_nameLabel = new QLabel(this);
  m_nameEdit = new QLineEdit(this);
  m_nameEdit->setObjectName(QStringLiteral("name"));
  m_nameEdit->setMaxLength(5000);
  m_description = new QLineEdit(this);
  m_description->setObjectName(QStringLiteral("description"));
  auto* kind = new QGroupBox(this);
  m_global = new QRadioButton(QStringLiteral("&Global"), kind);
  m_local = new QRadioButton(QStringLiteral("&Local"), kind);
  auto* kindLayout = new QHBoxLayout(kind);
  kindLayout->addWidget(m_global);
  kindLayout->addWidget(m_local);

  m_members = ui::entryList(this, "members", QSize(200, 220));
  m_candidates = ui::entryList(this, "candidates", QSize(200, 220));
  m_toMembers = new QPushButton(QStringLiteral("<- Mo&ve"), this);
  m_toCandidates = new QPushButton(QStringLiteral("Mov&e - >"), this);
  m_otherDomain = new QPushButton(QStringLiteral("Add user from &other domain"), this);
  // Taken as typed: the OK step looks every new member up before writing.
  connect(m_otherDomain, &QPushButton::clicked, this, [this] {
    OtherDomainMemberDialog dialog(this);
    if (m_dialogs.run(dialog) == QDialog::Accepted && !dialog.member().empty())
      m_members->addItem(q(dialog.member()));
  });
  m_addGlobalGroup = new QPushButton(QStringLiteral("&Add global Group"), this);
  connect(m_addGlobalGroup, &QPushButton::clicked, this, [this] {
    SelectGlobalGroupDialog dialog(m_open.server, m_messages, this);
    if (dialog.opened() && m_dialogs.run(dialog) == QDialog::Accepted)
      m_members->addItem(q(dialog.chosen()));
  });
  m_selectGroup = new QPushButton(QStringLiteral("&Select Group"), this);
  connect(m_selectGroup, &QPushButton::clicked, this, [this] { selectSecondGroup(); });
  m_copyToMembers = new QPushButton(QStringLiteral("<- C&opy"), this);
  m_copyToCandidates = new QPushButton(QStringLiteral("Co&py - >"), this);
  connect(m_copyToMembers, &QPushButton::clicked, this, [this] { copy(m_candidates, m_members); });
  connect(m_copyToCandidates, &QPushButton::clicked, this,
          [this] { copy(m_members, m_candidates); });
  m_copyToMembers->setEnabled(false);
  m_copyToCandidates->setEnabled(false);
  m_delete = new QPushButton(QStringLiteral("Dele&te"), this);
  m_delete->hide();
  m_delete->setEnabled(false);
  connect(m_delete, &QPushButton::clicked, this, [this] { deleteMembers(); });
  connect(m_toMembers, &QPushButton::clicked, this, [this] { move(m_candidates, m_members); });
  connect(m_toCandidates, &QPushButton::clicked, this, [this] { move(m_members, m_candidates); });
  // The button that moves away from the list last touched is the one offered.
  connect(m_members, &QListWidget::itemSelectionChanged, this, [this] {
    if (m_members->selectedItems().isEmpty()) return;
    m_candidates->clearSelection();
    m_toCandidates->setEnabled(true);
    m_toMembers->setEnabled(false);
    m_copyToCandidates->setEnabled(!m_fields.secondGroup.empty());
    m_copyToMembers->setEnabled(false);
    m_delete->setEnabled(true);
  });
  connect(m_candidates, &QListWidget::itemSelectionChanged, this, [this] {
    if (m_candidates->selectedItems().isEmpty()) return;
    m_members->clearSelection();
    m_toMembers->setEnabled(true);
    m_toCandidates->setEnabled(false);
    m_copyToMembers->setEnabled(!m_fields.secondGroup.empty());
    m_copyToCandidates->setEnabled(false);
    m_delete->setEnabled(false);
  });

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Group name:"), m_fields.isNew ? static_cast<QWidget*>(m_nameEdit)
                                                             : static_cast<QWidget*>(m_nameLabel));
  (m_fields.isNew ? static_cast<QWidget*>(m_nameLabel) : m_nameEdit)->hide();
  form->addRow(QStringLiteral("&Description:"), m_description);
  form->addRow(kind);
  auto* lists = new QGridLayout;
  auto* membersLabel = new QLabel(QStringLiteral("&Members:"), this);
  membersLabel->setBuddy(m_members);
  m_candidatesLabel = new QLabel(QStringLiteral("Not members of"), this);
  m_candidatesLabel->setBuddy(m_candidates);
  lists->addWidget(membersLabel, 0, 0);
  lists->addWidget(m_candidatesLabel, 0, 2);
  lists->addWidget(m_members, 1, 0);
  auto* buttonsColumn = new QVBoxLayout;
  buttonsColumn->addStretch();
  buttonsColumn->addWidget(m_toMembers);
  buttonsColumn->addWidget(m_toCandidates);
  buttonsColumn->addWidget(m_copyToMembers);
  buttonsColumn->addWidget(m_copyToCandidates);
  buttonsColumn->addWidget(m_delete);
  buttonsColumn->addStretch();
  lists->addLayout(buttonsColumn, 1, 1);
  lists->addWidget(m_candidates, 1, 2);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &GroupPropertiesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(form);
  layout->addLayout(lists);
  auto* localButtons = new QHBoxLayout;
  localButtons->addWidget(m_selectGroup);
  localButtons->addWidget(m_addGlobalGroup);
  localButtons->addWidget(m_otherDomain);
  localButtons->addStretch();
  layout->addLayout(localButtons);
  layout->addWidget(buttons);

  m_toMembers->setEnabled(false);
  m_toCandidates->setEnabled(m_fields.isNew);
  // An existing group's kind is what the server says it is.
  m_global->setEnabled(m_fields.isNew);
  m_local->setEnabled(m_fields.isNew);
  m_otherDomain->setVisible(m_fields.local && !m_fields.isNew);
  m_addGlobalGroup->setVisible(m_fields.local && !m_fields.isNew);
  m_selectGroup->setEnabled(!m_fields.isNew);
  exchange(false);
}

void GroupPropertiesDialog::exchange(bool save) {
  if (!save) {
    m_nameLabel->setText(q(m_fields.name));
    m_nameEdit->setText(q(m_fields.name));
    m_description->setText(q(m_fields.description));
    (m_fields.local ? m_local : m_global)->setChecked(true);
    ui::fillEntryList(m_members, m_fields.members);
    ui::fillEntryList(m_candidates, m_fields.candidates);
    return;
  }
  if (m_fields.isNew) {
    m_fields.name = m_nameEdit->text().toStdString();
    m_fields.local = m_local->isChecked();
  }
  m_fields.description = m_description->text().toStdString();
  m_fields.members.clear();
  for (int i = 0; i < m_members->count(); ++i)
    m_fields.members.push_back(m_members->item(i)->text().toStdString());
  m_fields.candidates.clear();
  for (int i = 0; i < m_candidates->count(); ++i)
    m_fields.candidates.push_back(m_candidates->item(i)->text().toStdString());
}

// The selection is read as indexes (in the order selectedItems() gives), and
// the lists change once it has all been gone through: looking each entry
// up, inserting it and taking it out one by one would each cost a pass
// over a list of 100,000 members.
void GroupPropertiesDialog::move(QListWidget* from, QListWidget* to) {
  QSet<QString> present = ui::entryTexts(to);
  QStringList added;
  std::vector<int> taken;
  for (const QModelIndex& index : from->selectionModel()->selectedIndexes()) {
    const QString entry = index.data(Qt::DisplayRole).toString();
    if (!present.contains(entry)) {
      present.insert(entry);
      added.push_back(entry);
    } else {
      const ui::Answer answer = m_messages.show(
          {"The user is already a member of that group. USER: " + entry.toStdString() +
               "\nThe user you have selected to move already exists in the destination "
               "group.\nDELETE the user from the source group?\nWARNING: YOU ARE REMOVING A USER "
               "FROM A GROUP",
           "Warning", ui::Buttons::YesNoCancel, ui::Icon::Error, ui::Answer::No});
      if (answer == ui::Answer::Cancel) break;
      if (answer != ui::Answer::Yes) continue;
    }
    taken.push_back(index.row());
  }
  ui::addEntries(to, added);
  if (taken.empty()) return;
  ui::removeEntries(from, std::move(taken));
  listsChanged();
}

void GroupPropertiesDialog::copy(QListWidget* from, QListWidget* to) {
  QSet<QString> present = ui::entryTexts(to);
  QStringList added;
  for (const QModelIndex& index : from->selectionModel()->selectedIndexes()) {
    const QString entry = index.data(Qt::DisplayRole).toString();
    if (!present.contains(entry)) {
      present.insert(entry);
      added.push_back(entry);
    } else {
      m_messages.ok("The user is already a member of that group. USER: " + entry.toStdString(),
                    res::programTitle());
    }
  }
  if (added.isEmpty()) return;
  ui::addEntries(to, added);
  listsChanged();
}

void GroupPropertiesDialog::listsChanged() { m_selectGroup->setEnabled(false); }

void GroupPropertiesDialog::selectSecondGroup() {
  SelectGroupDialog dialog(m_open.server, m_fields.name, this);
  if (m_dialogs.run(dialog) != QDialog::Accepted) return;
  m_fields.secondGroup = dialog.chosen();
  ui::fillEntryList(m_candidates, secondGroupEntries(m_open.server, m_fields.secondGroup, m_fields.local));
  m_candidatesLabel->setText(q(m_fields.secondGroup));
  m_delete->show();
}

void GroupPropertiesDialog::deleteMembers() {
  if (m_fields.secondGroup.empty()) return;
  std::vector<int> taken;
  for (const QModelIndex& index : m_members->selectionModel()->selectedIndexes()) {
    const ui::Answer answer = m_messages.show(
        {"WARNING: YOU ARE REMOVING A USER FROM A GROUP\nUsername: " +
             index.data(Qt::DisplayRole).toString().toStdString(),
         "Warning", ui::Buttons::YesNoCancel, ui::Icon::Error, ui::Answer::No});
    if (answer == ui::Answer::Cancel) break;
    if (answer != ui::Answer::Yes) continue;
    taken.push_back(index.row());
  }
  if (taken.empty()) return;
  ui::removeEntries(m_members, std::move(taken));
  listsChanged();
}

void GroupPropertiesDialog::accept() {
  exchange(true);
  const bool wasNew = m_fields.isNew;
  const WriteResult result = writeGroup(m_open.server, m_fields, m_open.logging, m_messages);
  if (wasNew && !m_fields.isNew) {
    // From here on this is the new group's dialog: its name and kind are fixed.
    m_nameLabel->setText(q(m_fields.name));
    m_nameEdit->setEnabled(false);
    m_global->setEnabled(false);
    m_local->setEnabled(false);
  }
  if (result == WriteResult::Close) QDialog::accept();
}

}  // namespace groups
