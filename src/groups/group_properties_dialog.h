#pragma once
// "Group Properties": creates a global or local group, or edits one
// existing group's description and members. Nothing is written before OK.

#include <QDialog>

#include <string>

#include "groups/group_edit.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ui {
class DialogRunner;
}

namespace groups {

struct GroupOpen {
  std::string server;
  std::string name;  // empty for a new group
  bool isNew = false;
  bool local = false;
  bool logging = false;
};

class GroupPropertiesDialog final : public QDialog {
  Q_OBJECT
 public:
  GroupPropertiesDialog(GroupOpen open, ui::Messages& messages, ui::DialogRunner& dialogs,
                        QWidget* parent = nullptr);

  const GroupFields& fields() const { return m_fields; }
  void accept() override;

  QLineEdit* nameEdit() const { return m_nameEdit; }
  QLineEdit* descriptionEdit() const { return m_description; }
  QRadioButton* localRadio() const { return m_local; }
  QListWidget* membersList() const { return m_members; }
  QListWidget* candidatesList() const { return m_candidates; }
  // "<- Mo&ve" (candidates to members) and "Mov&e - >" (members to candidates).
  QPushButton* moveToMembersButton() const { return m_toMembers; }
  QPushButton* moveToCandidatesButton() const { return m_toCandidates; }
  QPushButton* selectGroupButton() const { return m_selectGroup; }
  // "<- C&opy" and "Co&py - >", live once a second group is chosen.
  QPushButton* copyToMembersButton() const { return m_copyToMembers; }
  QPushButton* copyToCandidatesButton() const { return m_copyToCandidates; }
  // "Dele&te": removes members, shown once a second group is chosen.
  QPushButton* deleteButton() const { return m_delete; }
  // "Add user from &other domain" (local groups only).
  QPushButton* otherDomainButton() const { return m_otherDomain; }
  // "&Add global Group": a global group of any domain (local groups only).
  QPushButton* addGlobalGroupButton() const { return m_addGlobalGroup; }

 private:
  void exchange(bool save);
  // Moves the selected entries of `from` to `to`.
  void move(QListWidget* from, QListWidget* to);
  // Copies the selected entries of `from` to `to`.
  void copy(QListWidget* from, QListWidget* to);
  // "&Select Group": the candidate list becomes a second group's members.
  void selectSecondGroup();
  // Once the lists were changed, another second group could not be chosen
  // without losing those changes.
  void listsChanged();
  // Asks for each selected member before taking it off the member list.
  void deleteMembers();

  GroupOpen m_open;
  GroupFields m_fields;
  ui::Messages& m_messages;
  ui::DialogRunner& m_dialogs;
  QLabel* m_nameLabel = nullptr;
  QLineEdit* m_nameEdit = nullptr;
  QLineEdit* m_description = nullptr;
  QRadioButton* m_global = nullptr;
  QRadioButton* m_local = nullptr;
  QListWidget* m_members = nullptr;
  QListWidget* m_candidates = nullptr;
  QPushButton* m_toMembers = nullptr;
  QPushButton* m_toCandidates = nullptr;
  QPushButton* m_otherDomain = nullptr;
  QPushButton* m_addGlobalGroup = nullptr;
  QPushButton* m_selectGroup = nullptr;
  QPushButton* m_delete = nullptr;
  QPushButton* m_copyToMembers = nullptr;
  QPushButton* m_copyToCandidates = nullptr;
  QLabel* m_candidatesLabel = nullptr;
};

}  // namespace groups
