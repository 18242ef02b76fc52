#include "users/user_properties_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QVBoxLayout>

#include <memory>

#include "platform/system.h"
#include "resources/strings.h"
#include "ui/dialog_runner.h"
#include "ui/entry_lists.h"
#include "ui/messages.h"
#include "users/account_expiry_dialog.h"
#include "users/logon_hours_dialog.h"
#include "users/logon_to_dialog.h"
#include "users/membership.h"
#include "users/user_editors.h"
#include "users/user_write.h"

namespace users {
namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }
std::string s(const QString& text) { return text.toStdString(); }

std::vector<std::string> entriesOf(const QListWidget* list) {
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(list->count()));
  for (int i = 0; i < list->count(); ++i) entries.push_back(s(list->item(i)->text()));
  return entries;
}

QCheckBox* box(const char* text, const char* name, QWidget* parent) {
  auto* check = new QCheckBox(QString::fromUtf8(text), parent);
  check->setObjectName(QString::fromLatin1(name));
  return check;
}

QLineEdit* edit(const char* name, QWidget* parent, bool password = false) {
  auto* line = new QLineEdit(parent);
  line->setObjectName(QString::fromLatin1(name));
  if (password) line->setEchoMode(QLineEdit::Password);
  return line;
}

// A mixed state can be left mixed, so such a box keeps its third state.
void setTick(QCheckBox* check, Tick tick) {
  check->setTristate(tick == Tick::Mixed);
  check->setCheckState(tick == Tick::Mixed ? Qt::PartiallyChecked
                       : tick == Tick::On  ? Qt::Checked
                                           : Qt::Unchecked);
}

Tick tickOf(const QCheckBox* check) {
  switch (check->checkState()) {
    case Qt::Checked: return Tick::On;
    case Qt::PartiallyChecked: return Tick::Mixed;
    default: return Tick::Off;
  }
}

}  // namespace

CUserProperties::CUserProperties(UserOpen open, UserFields fields, ui::Messages& messages,
                                 ui::ProgramStarter& programs, ui::DialogRunner& dialogs,
                                 QWidget* parent)
    : QDialog(parent),
      m_open(std::move(open)),
      m_fields(std::move(fields)),
      m_messages(messages),
      m_programs(programs),
      m_dialogs(dialogs) {
  setObjectName(QStringLiteral("UserProperties"));
  build();
  exchange(false);
  showMode();
  showDialin();
}

void CUserProperties::build() {
  m_userName = new QLabel(QStringLiteral("<username>"), this);
  m_userName->setObjectName(QStringLiteral("userName"));
  m_newName = edit("newName", this);
  m_names = new QListWidget(this);
  m_names->setObjectName(QStringLiteral("names"));
  m_names->setSortingEnabled(true);
  m_names->setMaximumHeight(90);
  m_fullName = edit("fullName", this);
  m_description = edit("description", this);
  m_password = edit("password", this, true);
  m_confirmation = edit("confirmation", this, true);
  m_lastLogon = new QLabel(QStringLiteral("<time/date>"), this);
  m_lastLogon->setObjectName(QStringLiteral("lastLogon"));

  auto* identity = new QFormLayout;
  identity->addRow(QStringLiteral("User name:"), m_userName);
  identity->addRow(QString(), m_newName);
  identity->addRow(QString(), m_names);
  m_fullNameLabel = new QLabel(QStringLiteral("F&ull Name:"), this);
  m_fullNameLabel->setBuddy(m_fullName);
  identity->addRow(m_fullNameLabel, m_fullName);
  identity->addRow(QStringLiteral("&Description:"), m_description);
  identity->addRow(QStringLiteral("&Password"), m_password);
  identity->addRow(QStringLiteral("&Confirm Password"), m_confirmation);
  identity->addRow(QStringLiteral("Last logged on:"), m_lastLogon);

  m_mustChange = box("User &must change password at next logon", "mustChange", this);
  m_cannotChange = box("U&ser cannot change password", "cannotChange", this);
  m_neverExpires = box("Pass&word never expires", "neverExpires", this);
  m_disabled = box("Account disa&bled", "disabled", this);
  m_lockedOut = box("Account &locked out", "lockedOut", this);
  auto* flags = new QVBoxLayout;
  for (QCheckBox* check : {m_mustChange, m_cannotChange, m_neverExpires, m_disabled, m_lockedOut})
    flags->addWidget(check);

  m_ras = box("Allow &RAS", "ras", this);
  m_rasGroup = new QGroupBox(QStringLiteral("RAS"), this);
  m_callback[0] = new QRadioButton(QStringLiteral("No CB"), m_rasGroup);
  m_callback[1] = new QRadioButton(QStringLiteral("Admin."), m_rasGroup);
  m_callback[2] = new QRadioButton(QStringLiteral("User."), m_rasGroup);
  auto* radios = new QHBoxLayout(m_rasGroup);
  for (QRadioButton* radio : m_callback) radios->addWidget(radio);
  m_callbackLabel = new QLabel(QStringLiteral("RAS callback number:"), this);
  m_callbackNumber = edit("callbackNumber", this);
  auto* dialin = new QVBoxLayout;
  dialin->addWidget(m_ras);
  dialin->addWidget(m_rasGroup);
  dialin->addWidget(m_callbackLabel);
  dialin->addWidget(m_callbackNumber);
  dialin->addStretch();

  m_profile = edit("profile", this);
  m_script = edit("script", this);
  m_homeDrive = edit("homeDrive", this);
  m_homeDrive->setMaximumWidth(m_homeDrive->fontMetrics().horizontalAdvance(QStringLiteral("MMM")) + 12);
  m_homeDir = edit("homeDir", this);
  m_profileButton = new QPushButton(QStringLiteral("... "), this);
  m_scriptButton = new QPushButton(QStringLiteral("... "), this);
  for (QPushButton* button : {m_profileButton, m_scriptButton})
    button->setMaximumWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("... ")) + 24);
  connect(m_profileButton, &QPushButton::clicked, this, [this] { editProfile(); });
  connect(m_scriptButton, &QPushButton::clicked, this, [this] { editScript(); });
  auto* paths = new QGridLayout;
  paths->addWidget(new QLabel(QStringLiteral("Profile:"), this), 0, 0);
  paths->addWidget(m_profile, 0, 1, 1, 2);
  paths->addWidget(m_profileButton, 0, 3);
  paths->addWidget(new QLabel(QStringLiteral("Script:"), this), 1, 0);
  paths->addWidget(m_script, 1, 1, 1, 2);
  paths->addWidget(m_scriptButton, 1, 3);
  paths->addWidget(new QLabel(QStringLiteral("Home Directory:"), this), 2, 0);
  paths->addWidget(m_homeDrive, 2, 1);
  paths->addWidget(m_homeDir, 2, 2, 1, 2);
  paths->setColumnStretch(2, 1);

  m_memberOf = ui::entryList(this, "memberOf", QSize(180, 160));
  m_notMemberOf = ui::entryList(this, "notMemberOf", QSize(180, 160));
  m_memberOfLabel = new QLabel(QStringLiteral("M&ember of"), this);
  m_memberOfLabel->setBuddy(m_memberOf);
  m_notMemberOfLabel = new QLabel(QStringLiteral("&Not a member of"), this);
  m_notMemberOfLabel->setBuddy(m_notMemberOf);
  m_add = new QPushButton(QStringLiteral("<- &Add"), this);
  m_remove = new QPushButton(QStringLiteral("&Remove - >"), this);
  m_primary = new QPushButton(QStringLiteral("&Primary"), this);
  m_primary->setEnabled(false);
  connect(m_add, &QPushButton::clicked, this, [this] { addSelected(); });
  connect(m_remove, &QPushButton::clicked, this, [this] { removeSelected(); });
  auto* lists = new QGridLayout;
  lists->addWidget(m_memberOfLabel, 0, 0);
  lists->addWidget(m_notMemberOfLabel, 0, 2);
  lists->addWidget(m_memberOf, 1, 0);
  auto* moves = new QVBoxLayout;
  moves->addStretch();
  moves->addWidget(m_add);
  moves->addWidget(m_remove);
  moves->addWidget(m_primary);
  moves->addStretch();
  lists->addLayout(moves, 1, 1);
  lists->addWidget(m_notMemberOf, 1, 2);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CUserProperties::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  // Made after every other control, so they come last in the tab order.
  m_hours = new QPushButton(QStringLiteral("&Hours"), this);
  m_logonTo = new QPushButton(QStringLiteral("Logon &To"), this);
  m_account = new QPushButton(QStringLiteral("Acc&ount"), this);
  m_hours->setObjectName(QStringLiteral("hours"));
  m_logonTo->setObjectName(QStringLiteral("logonTo"));
  m_account->setObjectName(QStringLiteral("account"));
  connect(m_hours, &QPushButton::clicked, this, [this] { editHours(); });
  connect(m_logonTo, &QPushButton::clicked, this, [this] { editLogonTo(); });
  connect(m_account, &QPushButton::clicked, this, [this] { editAccount(); });
  auto* bottom = new QHBoxLayout;
  for (QPushButton* button : {m_hours, m_logonTo, m_account}) {
    button->setAutoDefault(false);
    bottom->addWidget(button);
  }
  bottom->addStretch();
  bottom->addWidget(buttons);

  auto* top = new QHBoxLayout;
  auto* left = new QVBoxLayout;
  left->addLayout(identity);
  left->addLayout(flags);
  top->addLayout(left, 3);
  top->addLayout(dialin, 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(paths);
  layout->addLayout(lists);
  layout->addLayout(bottom);
}

void CUserProperties::showMode() {
  const UserMode mode = m_fields.mode;
  setWindowTitle(mode == UserMode::New        ? QStringLiteral("New User")
                 : mode == UserMode::Multiple ? QStringLiteral("Multiple User change")
                                              : q(m_fields.name));
  m_userName->setVisible(mode == UserMode::Single);
  m_newName->setVisible(mode == UserMode::New);
  m_names->setVisible(mode == UserMode::Multiple);
  m_fullName->setVisible(mode != UserMode::Multiple);
  m_fullNameLabel->setVisible(mode != UserMode::Multiple);
  const bool own = mode != UserMode::Multiple;
  for (QWidget* w : std::initializer_list<QWidget*>{m_homeDrive, m_homeDir, m_profile, m_script,
                                                    m_profileButton, m_scriptButton})
    w->setEnabled(own);
  m_memberOfLabel->setText(own ? QStringLiteral("M&ember of") : QStringLiteral("All are members of:"));
  m_notMemberOfLabel->setText(own ? QStringLiteral("&Not a member of")
                                  : QStringLiteral("Not all are members of:"));
  m_lockedOut->setEnabled(m_fields.lockoutEnabled);
  m_hours->setEnabled(m_fields.limits.hoursShown);
  m_hours->setToolTip(m_fields.limits.hoursShown
                          ? QString()
                          : QStringLiteral("This account's logon hours are not kept hour by "
                                           "hour; they stay as they are."));
}

// The dial-in settings are shown as read and written back unchanged: the
// dialog has no way to change them.
void CUserProperties::showDialin() {
  const bool shown = m_fields.dialin.readable && m_fields.dialin.allowed != Tick::Off;
  for (QWidget* w : std::initializer_list<QWidget*>{m_rasGroup, m_callback[0], m_callback[1],
                                                    m_callback[2], m_callbackLabel,
                                                    m_callbackNumber}) {
    w->setVisible(shown);
    w->setEnabled(false);
  }
  m_ras->setEnabled(false);
}

void CUserProperties::exchange(bool save) {
  UserFields& f = m_fields;
  if (!save) {
    m_userName->setText(q(f.name));
    m_newName->setText(q(f.mode == UserMode::New ? f.name : std::string()));
    m_names->clear();
    for (const std::string& name : f.names) m_names->addItem(q(name));
    m_fullName->setText(q(f.fullName));
    m_description->setText(q(f.description));
    m_password->setText(q(f.password));
    m_confirmation->setText(q(f.confirmation));
    m_lastLogon->setText(q(f.lastLogon));
    setTick(m_mustChange, f.mustChange);
    setTick(m_cannotChange, f.cannotChange);
    setTick(m_neverExpires, f.neverExpires);
    setTick(m_disabled, f.disabled);
    setTick(m_lockedOut, f.lockedOut);
    setTick(m_ras, f.dialin.allowed);
    for (int type = 0; type < 3; ++type)
      m_callback[type]->setChecked(f.dialin.callbackType == static_cast<platform::DWORD>(type));
    m_callbackNumber->setText(q(f.dialin.callbackNumber));
    m_profile->setText(q(f.profile));
    m_script->setText(q(f.script));
    m_homeDrive->setText(q(f.homeDrive));
    m_homeDir->setText(q(f.homeDir));
    ui::fillEntryList(m_memberOf, f.memberOf);
    ui::fillEntryList(m_notMemberOf, f.notMemberOf);
    return;
  }
  if (f.mode == UserMode::New) f.name = s(m_newName->text());
  f.fullName = s(m_fullName->text());
  f.description = s(m_description->text());
  f.password = s(m_password->text());
  f.confirmation = s(m_confirmation->text());
  f.mustChange = tickOf(m_mustChange);
  f.cannotChange = tickOf(m_cannotChange);
  f.neverExpires = tickOf(m_neverExpires);
  f.disabled = tickOf(m_disabled);
  f.lockedOut = tickOf(m_lockedOut);
  f.profile = s(m_profile->text());
  f.script = s(m_script->text());
  f.homeDrive = s(m_homeDrive->text());
  f.homeDir = s(m_homeDir->text());
  f.memberOf = entriesOf(m_memberOf);
  f.notMemberOf = entriesOf(m_notMemberOf);
}

void CUserProperties::removeSelected() {
  for (QListWidgetItem* item : m_memberOf->selectedItems()) {
    const std::string entry = s(item->text());
    if (isIndirect(entry)) {
      m_messages.ok(res::str(59195), res::programTitle());
      item->setSelected(false);
      continue;
    }
    m_notMemberOf->addItem(item->text());
    std::unique_ptr<QListWidgetItem> taken(m_memberOf->takeItem(m_memberOf->row(item)));
    recordRemoval(m_fields, entry);
  }
}

void CUserProperties::addSelected() {
  for (QListWidgetItem* item : m_notMemberOf->selectedItems()) {
    const std::string entry = s(item->text());
    m_memberOf->addItem(item->text());
    std::unique_ptr<QListWidgetItem> taken(m_notMemberOf->takeItem(m_notMemberOf->row(item)));
    recordAddition(m_fields, entry);
  }
}

void CUserProperties::editProfile() {
  platform::OSVERSIONINFOA version;
  platform::GetVersionEx(&version);
  startEditor(profileEditor(version, s(m_profile->text())), m_programs, m_messages);
}

void CUserProperties::editScript() {
  startEditor(scriptEditor(m_open.server, s(m_script->text())), m_programs, m_messages);
}

QString CUserProperties::who() const {
  switch (m_fields.mode) {
    case UserMode::New: {
      const QString typed = m_newName->text();
      return typed.isEmpty() ? QStringLiteral("New user") : QStringLiteral("User: ") + typed;
    }
    case UserMode::Single: return QStringLiteral("User: ") + q(m_fields.name);
    case UserMode::Multiple: break;
  }
  // A long selection is named by its first few.
  constexpr std::size_t kNamed = 4;
  QStringList names;
  for (std::size_t i = 0; i < m_fields.names.size() && i < kNamed; ++i)
    names << q(m_fields.names[i]);
  QString text = QStringLiteral("Users: ") + names.join(QStringLiteral(", "));
  if (m_fields.names.size() > kNamed)
    text += QStringLiteral(" and %1 more").arg(m_fields.names.size() - kNamed);
  return text;
}

void CUserProperties::editHours() {
  Shared<WeekHours>& hours = m_fields.limits.hours;
  LogonHoursDialog dialog(who(), hours.value, hours.mixed, localOffsetSeconds(), this);
  if (m_dialogs.run(dialog) == QDialog::Accepted) hours.take(dialog.hours(), dialog.touched());
}

void CUserProperties::editLogonTo() {
  Shared<std::string>& workstations = m_fields.limits.workstations;
  LogonToDialog dialog(who(), workstations.value, workstations.mixed, m_messages, this);
  if (m_dialogs.run(dialog) == QDialog::Accepted)
    workstations.take(dialog.workstations(), dialog.touched());
}

void CUserProperties::editAccount() {
  Shared<platform::DWORD>& expires = m_fields.limits.expires;
  AccountExpiryDialog dialog(who(), expires.value, expires.mixed, this);
  if (m_dialogs.run(dialog) == QDialog::Accepted) expires.take(dialog.expires(), dialog.touched());
}

void CUserProperties::accept() {
  exchange(true);
  const bool wasNew = m_fields.mode == UserMode::New;
  const WriteResult result = writeUser(m_open.server, m_fields, m_open.logging, m_messages);
  if (wasNew && m_fields.mode == UserMode::Single) {
    // From here on this is the new account's own dialog.
    m_created = true;
    m_userName->setText(q(m_fields.name));
    showMode();
  }
  m_password->setText(q(m_fields.password));
  m_confirmation->setText(q(m_fields.confirmation));
  if (result == WriteResult::Close) QDialog::accept();
}

}  // namespace users
