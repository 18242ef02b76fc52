#pragma once
// The Hours dialog of the user properties: the week's logon hours in this
// computer's local time. It takes and gives them in the server's form; the
// turn between the two is the zone's offset in whole hours.

#include <QDialog>

#include <string>

#include "users/logon_hours.h"

class QLabel;

namespace users {

class HoursGrid;

class LogonHoursDialog final : public QDialog {
  Q_OBJECT
 public:
  // `who` names the account(s); `mixed` says the accounts' hours differ,
  // and `gmt` is then what a new account has. `offsetSeconds` is the local
  // zone's offset east of GMT.
  LogonHoursDialog(const QString& who, const WeekHours& gmt, bool mixed, long offsetSeconds,
                   QWidget* parent = nullptr);

  // In the server's form.
  WeekHours hours() const;
  bool touched() const;

  HoursGrid* grid() const { return m_grid; }
  QLabel* zoneLabel() const { return m_zone; }

 private:
  int m_shift = 0;
  HoursGrid* m_grid = nullptr;
  QLabel* m_zone = nullptr;
};

}  // namespace users
