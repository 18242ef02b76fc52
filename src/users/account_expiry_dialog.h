#pragma once
// The Account dialog of the user properties: the account never expires, or
// expires at the end of a day (the start of the next day, local time).

#include <QDate>
#include <QDialog>

#include "platform/types.h"

class QDateEdit;
class QLabel;
class QRadioButton;

namespace users {

class AccountExpiryDialog final : public QDialog {
  Q_OBJECT
 public:
  // `expires` as the server keeps it (TIMEQ_FOREVER: never); `mixed` says
  // the accounts' expiries differ, and `expires` is then never.
  AccountExpiryDialog(const QString& who, platform::DWORD expires, bool mixed,
                      QWidget* parent = nullptr);

  // What OK gives: an expiry the user left as it was keeps its exact time.
  platform::DWORD expires() const;
  bool touched() const { return m_touched; }

  QRadioButton* neverRadio() const { return m_never; }
  QRadioButton* endOfRadio() const { return m_endOf; }
  QDateEdit* dateEdit() const { return m_date; }
  QLabel* whenLabel() const { return m_when; }

 private:
  void showChoice();

  platform::DWORD m_original;
  bool m_touched = false;
  QRadioButton* m_never = nullptr;
  QRadioButton* m_endOf = nullptr;
  QDateEdit* m_date = nullptr;
  QDate m_shownDate;
  QLabel* m_when = nullptr;
};

}  // namespace users
