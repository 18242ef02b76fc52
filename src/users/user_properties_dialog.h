#pragma once
// CUserProperties: the user properties dialog in its three modes: a new
// account, one account, or one set of changes for several accounts. The
// opener reads the fields (user_load.h); OK writes them (user_write.h).

#include <QDialog>

#include <string>

#include "users/user_fields.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace ui {
class DialogRunner;
class Messages;
class ProgramStarter;
}  // namespace ui

namespace users {

struct UserOpen {
  std::string server;
  // The e_logging_onoff setting when the dialog opened.
  bool logging = false;
};

class CUserProperties final : public QDialog {
  Q_OBJECT
 public:
  // `dialogs` runs the Hours, Logon To and Account dialogs.
  CUserProperties(UserOpen open, UserFields fields, ui::Messages& messages,
                  ui::ProgramStarter& programs, ui::DialogRunner& dialogs,
                  QWidget* parent = nullptr);

  const UserFields& fields() const { return m_fields; }
  // Whether this dialog created an account, even if it was cancelled after.
  bool created() const { return m_created; }
  void accept() override;

  QLabel* userNameLabel() const { return m_userName; }
  QLineEdit* newNameEdit() const { return m_newName; }
  QListWidget* namesList() const { return m_names; }
  QLineEdit* fullNameEdit() const { return m_fullName; }
  QLineEdit* descriptionEdit() const { return m_description; }
  QLineEdit* passwordEdit() const { return m_password; }
  QLineEdit* confirmationEdit() const { return m_confirmation; }
  QLabel* lastLogonLabel() const { return m_lastLogon; }
  QCheckBox* mustChangeBox() const { return m_mustChange; }
  QCheckBox* cannotChangeBox() const { return m_cannotChange; }
  QCheckBox* neverExpiresBox() const { return m_neverExpires; }
  QCheckBox* disabledBox() const { return m_disabled; }
  QCheckBox* lockedOutBox() const { return m_lockedOut; }
  QCheckBox* rasBox() const { return m_ras; }
  QGroupBox* rasGroup() const { return m_rasGroup; }
  QRadioButton* callbackRadio(int type) const { return m_callback[type]; }
  QLineEdit* callbackNumberEdit() const { return m_callbackNumber; }
  QLineEdit* profileEdit() const { return m_profile; }
  QLineEdit* scriptEdit() const { return m_script; }
  QLineEdit* homeDriveEdit() const { return m_homeDrive; }
  QLineEdit* homeDirEdit() const { return m_homeDir; }
  QListWidget* memberOfList() const { return m_memberOf; }
  QListWidget* notMemberOfList() const { return m_notMemberOf; }
  QLabel* memberOfLabel() const { return m_memberOfLabel; }
  QLabel* notMemberOfLabel() const { return m_notMemberOfLabel; }
  // "<- &Add" and "&Remove - >".
  QPushButton* addButton() const { return m_add; }
  QPushButton* removeButton() const { return m_remove; }
  QPushButton* profileButton() const { return m_profileButton; }
  QPushButton* scriptButton() const { return m_scriptButton; }
  // "&Hours", "Logon &To" and "Acc&ount".
  QPushButton* hoursButton() const { return m_hours; }
  QPushButton* logonToButton() const { return m_logonTo; }
  QPushButton* accountButton() const { return m_account; }

 private:
  void build();
  void showMode();
  void showDialin();
  void exchange(bool save);
  // "&Remove - >": "Member of" to "Not a member of"; indirect entries stay.
  void removeSelected();
  // "<- &Add": "Not a member of" to "Member of".
  void addSelected();
  void editProfile();
  void editScript();
  // The account(s) the Hours, Logon To and Account dialogs are about.
  QString who() const;
  void editHours();
  void editLogonTo();
  void editAccount();

  UserOpen m_open;
  UserFields m_fields;
  ui::Messages& m_messages;
  ui::ProgramStarter& m_programs;
  ui::DialogRunner& m_dialogs;
  bool m_created = false;

  QLabel* m_userName = nullptr;
  QLineEdit* m_newName = nullptr;
  QListWidget* m_names = nullptr;
  QLabel* m_fullNameLabel = nullptr;
  QLineEdit* m_fullName = nullptr;
  QLineEdit* m_description = nullptr;
  QLineEdit* m_password = nullptr;
  QLineEdit* m_confirmation = nullptr;
  QLabel* m_lastLogon = nullptr;
  QCheckBox* m_mustChange = nullptr;
  QCheckBox* m_cannotChange = nullptr;
  QCheckBox* m_neverExpires = nullptr;
  QCheckBox* m_disabled = nullptr;
  QCheckBox* m_lockedOut = nullptr;
  QCheckBox* m_ras = nullptr;
  QGroupBox* m_rasGroup = nullptr;
  QRadioButton* m_callback[3] = {};
  QLabel* m_callbackLabel = nullptr;
  QLineEdit* m_callbackNumber = nullptr;
  QLineEdit* m_profile = nullptr;
  QLineEdit* m_script = nullptr;
  QLineEdit* m_homeDrive = nullptr;
  QLineEdit* m_homeDir = nullptr;
  QPushButton* m_profileButton = nullptr;
  QPushButton* m_scriptButton = nullptr;
  QLabel* m_memberOfLabel = nullptr;
  QLabel* m_notMemberOfLabel = nullptr;
  QListWidget* m_memberOf = nullptr;
  QListWidget* m_notMemberOf = nullptr;
  QPushButton* m_add = nullptr;
  QPushButton* m_remove = nullptr;
  QPushButton* m_primary = nullptr;
  QPushButton* m_hours = nullptr;
  QPushButton* m_logonTo = nullptr;
  QPushButton* m_account = nullptr;
};

}  // namespace users
