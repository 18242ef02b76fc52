#include "users/account_expiry_dialog.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "users/account_expiry.h"
#include "users/limit_dialog_footer.h"
#include "users/user_load.h"

namespace users {

namespace {

QDate qdate(CivilDate date) { return {date.year, date.month, date.day}; }
CivilDate civil(QDate date) { return {date.year(), date.month(), date.day()}; }

}  // namespace

AccountExpiryDialog::AccountExpiryDialog(const QString& who, platform::DWORD expires, bool mixed,
                                         QWidget* parent)
    : QDialog(parent), m_original(expires) {
  setObjectName(QStringLiteral("AccountExpiry"));
  setWindowTitle(QStringLiteral("Account"));
  const bool never = expires == platform::TIMEQ_FOREVER;

  auto* group = new QGroupBox(QStringLiteral("Account Expires"), this);
  m_never = new QRadioButton(QStringLiteral("&Never"), group);
  m_endOf = new QRadioButton(QStringLiteral("&End of"), group);
  m_date = new QDateEdit(group);
  m_date->setObjectName(QStringLiteral("expiryDate"));
  m_date->setCalendarPopup(true);
  m_date->setDisplayFormat(QStringLiteral("ddd d MMM yyyy"));
  m_date->setDateRange(qdate(kFirstExpiryDay), qdate(kLastExpiryDay));
  // Room for the longest day and month names, beside the popup's arrow.
  m_date->setMinimumWidth(
      m_date->fontMetrics().horizontalAdvance(QStringLiteral("Wed 30 Sep 2030")) + 48);
  // A month ahead is where a new expiry starts; an old one shows its day.
  m_shownDate = never ? QDate::currentDate().addMonths(1) : qdate(lastDayOf(expires));
  m_date->setDate(m_shownDate);
  m_when = new QLabel(group);
  m_when->setObjectName(QStringLiteral("when"));
  auto* endOf = new QHBoxLayout;
  endOf->addWidget(m_endOf);
  endOf->addWidget(m_date);
  endOf->addStretch();
  auto* inGroup = new QVBoxLayout(group);
  inGroup->addWidget(m_never);
  inGroup->addLayout(endOf);
  inGroup->addWidget(m_when);
  (never ? m_never : m_endOf)->setChecked(true);
  for (QRadioButton* radio : {m_never, m_endOf})
    connect(radio, &QRadioButton::clicked, this, [this] {
      m_touched = true;
      showChoice();
    });
  connect(m_date, &QDateEdit::dateChanged, this, [this] {
    m_touched = true;
    showChoice();
  });

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(who, this));
  layout->addWidget(group);
  addLimitDialogFooter(this, layout, mixed,
                       QStringLiteral("The selected users' accounts expire differently. "
                                      "What you choose here is given to all of them; OK "
                                      "with nothing changed, or Cancel, leaves each "
                                      "user's expiry as it is."));
  showChoice();
}

platform::DWORD AccountExpiryDialog::expires() const {
  if (m_never->isChecked()) return platform::TIMEQ_FOREVER;
  if (m_original != platform::TIMEQ_FOREVER && m_date->date() == m_shownDate) return m_original;
  return endOfDay(civil(m_date->date()));
}

void AccountExpiryDialog::showChoice() {
  m_date->setEnabled(m_endOf->isChecked());
  const platform::DWORD at = expires();
  m_when->setText(at == platform::TIMEQ_FOREVER
                      ? QStringLiteral("The account never expires.")
                      : QStringLiteral("Logons end at %1 (local time).")
                            .arg(QString::fromStdString(lastLogonText(at)).trimmed()));
}

}  // namespace users
