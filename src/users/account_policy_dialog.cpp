#include "users/account_policy_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>

#include "resources/strings.h"
#include "ui/messages.h"

namespace users {

using platform::DWORD;
using platform::TIMEQ_FOREVER;

namespace {

constexpr long long kDay = 86'400;
constexpr long long kMinute = 60;
// The day count of TIMEQ_FOREVER: a time that reads back as this many days
// is the forever value.
constexpr long long kForeverDays = TIMEQ_FOREVER / kDay;
// The largest counts whose seconds fit 32 bits without reading back as
// forever.
constexpr long long kMaxDays = kForeverDays - 1;
constexpr long long kMaxMinutes = (TIMEQ_FOREVER - 1) / kMinute;
// What the server keeps: NT passwords of at most 14 characters, a history of
// at most 24 passwords, and an observation window of at least a minute.
constexpr long long kMaxLength = 14;
constexpr long long kMaxHistory = 24;
constexpr long long kMinWindow = 1;
constexpr long long kMaxThreshold = 999;
constexpr long long kMaxThresholdStep = 998;

constexpr char kPositive[] = "Please enter a positive integer.";
constexpr char kInteger[] = "Please enter an integer.";

DWORD seconds(long long count, long long unit) { return static_cast<DWORD>(count * unit); }

}  // namespace

std::optional<PolicyRecords> readPolicy(std::string_view server) {
  PolicyRecords read;
  platform::NetBuffer buffer;
  if (platform::NetUserModalsGet(server, 0, buffer) != platform::NERR_Success) return {};
  const auto level0 = buffer.get<platform::USER_MODALS_INFO_0>();
  if (level0.empty()) return {};
  read.modals0 = level0.front();
  if (platform::NetUserModalsGet(server, 3, buffer) != platform::NERR_Success) return {};
  const auto level3 = buffer.get<platform::USER_MODALS_INFO_3>();
  if (level3.empty()) return {};
  read.modals3 = level3.front();
  return read;
}

PolicyFields fieldsFromRecords(const PolicyRecords& read) {
  const auto& m0 = read.modals0;
  const auto& m3 = read.modals3;
  PolicyFields f;
  f.history = m0.usrmod0_password_hist_len;
  f.minLength = m0.usrmod0_min_passwd_len;
  f.minAgeDays = m0.usrmod0_min_passwd_age / kDay;
  if (f.minAgeDays == kForeverDays) f.minAgeDays = 90;
  f.maxAgeDays = m0.usrmod0_max_passwd_age / kDay;
  f.expires = f.maxAgeDays != kForeverDays;
  if (!f.expires) f.maxAgeDays = 31;
  f.forceLogoff = m0.usrmod0_force_logoff != TIMEQ_FOREVER;
  f.useLockout = m3.usrmod3_lockout_threshold != 0;
  if (f.useLockout) {
    f.threshold = m3.usrmod3_lockout_threshold;
    f.windowMinutes = m3.usrmod3_lockout_observation_window / kMinute;
    f.lockoutForever = m3.usrmod3_lockout_duration == TIMEQ_FOREVER;
    f.durationMinutes =
        f.lockoutForever ? f.windowMinutes : m3.usrmod3_lockout_duration / kMinute;
  }
  return f;
}

PolicyRecords recordsFromFields(const PolicyRecords& read, const PolicyFields& shown,
                                const PolicyFields& now) {
  PolicyRecords out = read;
  auto& m0 = out.modals0;
  auto& m3 = out.modals3;
  if (now.expires != shown.expires || (now.expires && now.maxAgeDays != shown.maxAgeDays))
    m0.usrmod0_max_passwd_age = now.expires ? seconds(now.maxAgeDays, kDay) : TIMEQ_FOREVER;
  if (now.minAgeDays != shown.minAgeDays)
    m0.usrmod0_min_passwd_age = seconds(now.minAgeDays, kDay);
  if (now.minLength != shown.minLength)
    m0.usrmod0_min_passwd_len = static_cast<DWORD>(now.minLength);
  if (now.history != shown.history)
    m0.usrmod0_password_hist_len = static_cast<DWORD>(now.history);
  if (now.forceLogoff != shown.forceLogoff)
    m0.usrmod0_force_logoff = now.forceLogoff ? 0 : TIMEQ_FOREVER;
  if (now.useLockout != shown.useLockout || (now.useLockout && now.threshold != shown.threshold))
    m3.usrmod3_lockout_threshold = now.useLockout ? static_cast<DWORD>(now.threshold) : 0;
  // Without lockout at opening the dialog shows defaults, not what was
  // read: turning lockout on takes them as shown.
  const bool lockoutTurnedOn = now.useLockout && !shown.useLockout;
  if (lockoutTurnedOn || now.windowMinutes != shown.windowMinutes)
    m3.usrmod3_lockout_observation_window = seconds(now.windowMinutes, kMinute);
  if (lockoutTurnedOn || now.lockoutForever != shown.lockoutForever ||
      (!now.lockoutForever && now.durationMinutes != shown.durationMinutes))
    m3.usrmod3_lockout_duration =
        now.lockoutForever ? TIMEQ_FOREVER : seconds(now.durationMinutes, kMinute);
  return out;
}

CAccountPolicy::CAccountPolicy(std::string server, const PolicyRecords& read,
                                         ui::Messages& messages, QWidget* parent)
    : QDialog(parent),
      m_server(std::move(server)),
      m_read(read),
      m_shown(fieldsFromRecords(read)),
      m_fields(m_shown),
      m_messages(messages) {
  setObjectName(QStringLiteral("AccountPolicy"));
  setWindowTitle(QStringLiteral("User Account Policy ") + QString::fromStdString(m_server));
  const auto edit = [this](const char* name) {
    auto* e = new QLineEdit(this);
    e->setObjectName(QString::fromLatin1(name));
    e->setMaximumWidth(80);
    return e;
  };

  auto* maxBox = new QGroupBox(QStringLiteral("Max Password Age"), this);
  m_never = new QRadioButton(QStringLiteral("Never expires"), maxBox);
  m_expires = new QRadioButton(QStringLiteral("Expires in # days"), maxBox);
  m_maxAge = edit("maxAge");
  auto* maxRow = new QHBoxLayout;
  maxRow->addWidget(m_expires);
  maxRow->addWidget(m_maxAge);
  maxRow->addStretch();
  auto* maxLayout = new QVBoxLayout(maxBox);
  maxLayout->addWidget(m_never);
  maxLayout->addLayout(maxRow);

  const auto labelled = [](QWidget* owner, const QString& title, const QString& text,
                           QLineEdit* field) {
    auto* box = new QGroupBox(title, owner);
    auto* row = new QHBoxLayout(box);
    row->addWidget(new QLabel(text, box));
    row->addWidget(field);
    row->addStretch();
    return box;
  };
  m_minAge = edit("minAge");
  m_minLength = edit("minLength");
  m_history = edit("history");
  QGroupBox* minAgeBox = labelled(
      this, QStringLiteral("Minimum Password Age"),
      QStringLiteral("Password must be at least # days old before it can be changed."), m_minAge);
  QGroupBox* lengthBox =
      labelled(this, QStringLiteral("Password Length"),
               QStringLiteral("Length at least # characters (0 = allow blank password)"),
               m_minLength);
  QGroupBox* historyBox = labelled(this, QStringLiteral("Unique Password"),
                                   QStringLiteral("Remember last # passwords"), m_history);
  m_forceLogoff = new QCheckBox(
      QStringLiteral("Force disconnect of remote users when time has expired"), this);

  auto* lockBox = new QGroupBox(QStringLiteral("Lockout"), this);
  m_useLockout = new QCheckBox(QStringLiteral("Use &Lockout"), lockBox);
  m_thresholdLabel = new QLabel(QStringLiteral("# bad logons allowed :"), lockBox);
  m_threshold = edit("threshold");
  m_windowLabel = new QLabel(QStringLiteral("Reset logon counter after # minutes :"), lockBox);
  m_window = edit("window");
  auto* durationBox = new QGroupBox(QStringLiteral("Duration of lockout"), lockBox);
  m_forever = new QCheckBox(QStringLiteral("&Forever"), durationBox);
  m_durationLabel = new QLabel(QStringLiteral("For # minutes :"), durationBox);
  m_duration = edit("duration");
  const auto upDown = [this](int which) {
    auto* pair = new QVBoxLayout;
    pair->setSpacing(0);
    pair->addWidget(arrow(Qt::UpArrow, which, true));
    pair->addWidget(arrow(Qt::DownArrow, which, false));
    return pair;
  };
  auto* durationLayout = new QGridLayout(durationBox);
  durationLayout->addWidget(m_forever, 0, 0, 1, 3);
  durationLayout->addWidget(m_durationLabel, 1, 0);
  durationLayout->addWidget(m_duration, 1, 1);
  durationLayout->addLayout(upDown(2), 1, 2);
  auto* lockLayout = new QGridLayout(lockBox);
  lockLayout->addWidget(m_useLockout, 0, 0, 1, 3);
  lockLayout->addWidget(m_thresholdLabel, 1, 0);
  lockLayout->addWidget(m_threshold, 1, 1);
  lockLayout->addLayout(upDown(0), 1, 2);
  lockLayout->addWidget(m_windowLabel, 2, 0);
  lockLayout->addWidget(m_window, 2, 1);
  lockLayout->addLayout(upDown(1), 2, 2);
  lockLayout->addWidget(durationBox, 3, 0, 1, 3);

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &CAccountPolicy::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(maxBox);
  layout->addWidget(minAgeBox);
  layout->addWidget(lengthBox);
  layout->addWidget(historyBox);
  layout->addWidget(m_forceLogoff);
  layout->addWidget(lockBox);
  layout->addWidget(buttons);

  connect(m_never, &QRadioButton::toggled, this, [this] { m_maxAge->setEnabled(m_expires->isChecked()); });
  connect(m_expires, &QRadioButton::toggled, this, [this] { m_maxAge->setEnabled(m_expires->isChecked()); });
  connect(m_useLockout, &QCheckBox::toggled, this, &CAccountPolicy::applyLockoutRule);
  connect(m_forever, &QCheckBox::toggled, this, &CAccountPolicy::applyForeverRule);
  exchange(false);
  m_maxAge->setEnabled(m_fields.expires);
  applyLockoutRule();
}

QToolButton* CAccountPolicy::arrow(Qt::ArrowType type, int which, bool up) {
  auto* button = new QToolButton(this);
  button->setArrowType(type);
  button->setAutoRepeat(true);
  button->setFixedSize(18, 12);
  m_arrows[which * 2 + (up ? 0 : 1)] = button;
  connect(button, &QToolButton::clicked, this, [this, which, up] { stepUpDown(which, up); });
  return button;
}

void CAccountPolicy::applyLockoutRule() {
  const bool on = m_useLockout->isChecked();
  for (QWidget* w : std::initializer_list<QWidget*>{m_thresholdLabel, m_threshold, m_windowLabel,
                                                   m_window, m_forever, m_durationLabel,
                                                   m_duration})
    w->setEnabled(on);
  for (QToolButton* b : m_arrows) b->setEnabled(on);
  if (on) applyForeverRule();
}

void CAccountPolicy::applyForeverRule() {
  const bool timed = m_useLockout->isChecked() && !m_forever->isChecked();
  m_durationLabel->setEnabled(timed);
  m_duration->setEnabled(timed);
  m_arrows[4]->setEnabled(timed);
  m_arrows[5]->setEnabled(timed);
}

void CAccountPolicy::stepUpDown(int which, bool up) {
  QLineEdit* edits[] = {m_threshold, m_window, m_duration};
  QLineEdit* edit = edits[which];
  bool number = false;
  long long value = edit->text().trimmed().toLongLong(&number);
  // A text that is no number is the user's to mend: the arrows leave it.
  if (!number) return;
  const long long top = which == 0 ? kMaxThresholdStep : kMaxMinutes;
  if (up && value < top) ++value;
  if (!up && value > 1) --value;
  edit->setText(QString::number(value));
}

bool CAccountPolicy::readNumber(QLineEdit* edit, long long shown, long long low,
                                     long long high, const char* notNumber, long long* out) {
  const QString text = edit->text().trimmed();
  bool number = false;
  const long long value = text.toLongLong(&number);
  const auto refuse = [&](std::string message) {
    m_messages.ok(std::move(message), res::programTitle(), ui::Icon::Warning);
    edit->setFocus();
    edit->selectAll();
    return false;
  };
  if (!number) return refuse(notNumber);
  // What was shown at opening goes back as read, even past the limits a
  // typed value must keep (a threshold set to 5,000 elsewhere).
  if (value == shown) {
    *out = value;
    return true;
  }
  // A negative count where only a positive one means anything.
  if (value < 0 && notNumber == std::string_view(kPositive)) return refuse(kPositive);
  if (value < low || value > high)
    return refuse("Please enter an integer between " + std::to_string(low) + " and " +
                  std::to_string(high) + ".");
  *out = value;
  return true;
}

bool CAccountPolicy::exchange(bool save) {
  if (!save) {
    m_never->setChecked(!m_fields.expires);
    m_expires->setChecked(m_fields.expires);
    m_maxAge->setText(QString::number(m_fields.maxAgeDays));
    m_minAge->setText(QString::number(m_fields.minAgeDays));
    m_minLength->setText(QString::number(m_fields.minLength));
    m_history->setText(QString::number(m_fields.history));
    m_forceLogoff->setChecked(m_fields.forceLogoff);
    m_useLockout->setChecked(m_fields.useLockout);
    m_threshold->setText(QString::number(m_fields.threshold));
    m_window->setText(QString::number(m_fields.windowMinutes));
    m_forever->setChecked(m_fields.lockoutForever);
    m_duration->setText(QString::number(m_fields.durationMinutes));
    return true;
  }
  PolicyFields f;
  f.expires = m_expires->isChecked();
  f.forceLogoff = m_forceLogoff->isChecked();
  f.useLockout = m_useLockout->isChecked();
  f.lockoutForever = m_forever->isChecked();
  if (!readNumber(m_maxAge, m_shown.maxAgeDays, 0, kMaxDays, kPositive, &f.maxAgeDays) ||
      !readNumber(m_minAge, m_shown.minAgeDays, 0, kMaxDays, kInteger, &f.minAgeDays) ||
      !readNumber(m_minLength, m_shown.minLength, 0, kMaxLength, kInteger, &f.minLength) ||
      !readNumber(m_history, m_shown.history, 0, kMaxHistory, kInteger, &f.history) ||
      !readNumber(m_threshold, m_shown.threshold, 1, kMaxThreshold, kInteger, &f.threshold) ||
      !readNumber(m_window, m_shown.windowMinutes, kMinWindow, kMaxMinutes, kInteger,
                  &f.windowMinutes) ||
      !readNumber(m_duration, m_shown.durationMinutes, 0, kMaxMinutes, kInteger,
                  &f.durationMinutes))
    return false;
  m_fields = f;
  return true;
}

void CAccountPolicy::accept() {
  if (!exchange(true)) return;
  const PolicyRecords out = recordsFromFields(m_read, m_shown, m_fields);
  const std::string failed = res::str(59307);
  // Both levels are always written: a refused level 0 must not keep the
  // lockout change from reaching the server. A refusal is said once, and
  // the dialog stays open with every edit, to be mended or cancelled.
  const bool level0 =
      platform::NetUserModalsSet(m_server, 0, out.modals0, nullptr) == platform::NERR_Success;
  const bool level3 =
      platform::NetUserModalsSet(m_server, 3, out.modals3, nullptr) == platform::NERR_Success;
  if (!level0 || !level3) {
    m_messages.ok(failed, res::programTitle());
    return;
  }
  QDialog::accept();
}

}  // namespace users
