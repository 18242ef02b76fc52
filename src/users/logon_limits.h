#pragma once
// What the Hours, Logon To and Account buttons of the user properties dialog
// edit: when, where and until when an account may log on. Read from the
// accounts when the dialog opens and put into each account's record by its
// OK step. Plain C++.

#include <string>
#include <utility>

#include "platform/netapi.h"
#include "users/logon_hours.h"

namespace users {

// One of those settings. Only a changed one is written, so an account keeps
// a value its dialog shows in another form (no hours for every hour, an
// expiry at another time than midnight). In the multiple mode `mixed` says
// the accounts differ: the value is then a new account's, and a changed
// value is written to every account.
template <typename T>
struct Shared {
  T value{};
  bool mixed = false;
  bool changed = false;

  // What the setting's dialog gave back after its OK; `touched` when the
  // user worked its controls, which makes even the value shown a change.
  void take(T edited, bool touched) {
    if (!touched && edited == value) return;
    value = std::move(edited);
    mixed = false;
    changed = true;
  }
};

struct LogonLimits {
  // In the server's form (GMT).
  Shared<WeekHours> hours{everyHour()};
  // False when the account's hours are not kept one bit per hour: the Hours
  // button is off and they stay as they are. In the multiple mode such an
  // account makes the hours mixed instead.
  bool hoursShown = true;
  Shared<std::string> workstations;
  Shared<platform::DWORD> expires{platform::TIMEQ_FOREVER};

  bool changed() const { return hours.changed || workstations.changed || expires.changed; }
};

// One account's settings.
LogonLimits limitsOf(const platform::USER_INFO_3& record);

// Several accounts' settings, one account at a time: a setting the accounts
// do not share is mixed.
void addToCombined(LogonLimits& combined, const platform::USER_INFO_3& record, bool first);

// The changed settings into an account's record.
void applyLimits(const LogonLimits& limits, platform::USER_INFO_3& record);

}  // namespace users
