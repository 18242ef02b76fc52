#pragma once
// The User Account Policy dialog: the domain's password rules and account
// lockout, shown in days and minutes, kept by the platform in seconds.

#include <QDialog>
#include <QString>
#include <optional>
#include <string>

#include "platform/netapi.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QToolButton;

namespace ui {
class Messages;
}

namespace users {

// The policy as read: both records, kept whole so that what the user leaves
// alone goes back exactly as it came.
struct PolicyRecords {
  platform::USER_MODALS_INFO_0 modals0;
  platform::USER_MODALS_INFO_3 modals3;
};

// Reads both levels; nullopt when either read fails.
std::optional<PolicyRecords> readPolicy(std::string_view server);

// The dialog's fields in the units it shows.
struct PolicyFields {
  bool expires = false;
  long long maxAgeDays = 31;
  long long minAgeDays = 0;
  long long minLength = 0;
  long long history = 0;
  bool forceLogoff = false;
  bool useLockout = false;
  long long threshold = 5;
  long long windowMinutes = 120;
  bool lockoutForever = false;
  long long durationMinutes = 60;

  bool operator==(const PolicyFields&) const = default;
};

// What the dialog shows for the records read.
PolicyFields fieldsFromRecords(const PolicyRecords& read);
// The records to write: a field equal to what was shown at opening keeps
// its value as read, so no rounding or default replaces it.
PolicyRecords recordsFromFields(const PolicyRecords& read, const PolicyFields& shown,
                                const PolicyFields& now);

class CAccountPolicy final : public QDialog {
  Q_OBJECT
 public:
  CAccountPolicy(std::string server, const PolicyRecords& read, ui::Messages& messages,
                      QWidget* parent = nullptr);

  // The OK step: checks the fields, writes both levels and closes (after a
  // failed write too, once it has been reported).
  void accept() override;

  const PolicyFields& fields() const { return m_fields; }

  QRadioButton* neverExpiresRadio() const { return m_never; }
  QRadioButton* expiresRadio() const { return m_expires; }
  QLineEdit* maxAgeEdit() const { return m_maxAge; }
  QLineEdit* minAgeEdit() const { return m_minAge; }
  QLineEdit* minLengthEdit() const { return m_minLength; }
  QLineEdit* historyEdit() const { return m_history; }
  QCheckBox* forceLogoffCheck() const { return m_forceLogoff; }
  QCheckBox* useLockoutCheck() const { return m_useLockout; }
  QLineEdit* thresholdEdit() const { return m_threshold; }
  QLineEdit* windowEdit() const { return m_window; }
  QCheckBox* foreverCheck() const { return m_forever; }
  QLineEdit* durationEdit() const { return m_duration; }
  // The up-down buttons: 0 threshold, 1 observation window, 2 duration.
  void stepUpDown(int which, bool up);

 private:
  // Moves the fields into the widgets, or (save) back with their checks;
  // false, with the reason shown and the focus on the field, when refused.
  bool exchange(bool save);
  void applyLockoutRule();
  void applyForeverRule();
  QToolButton* arrow(Qt::ArrowType type, int which, bool up);
  bool readNumber(QLineEdit* edit, long long shown, long long low, long long high,
                  const char* notNumber, long long* out);

  std::string m_server;
  PolicyRecords m_read;
  PolicyFields m_shown;
  PolicyFields m_fields;
  ui::Messages& m_messages;

  QRadioButton* m_never = nullptr;
  QRadioButton* m_expires = nullptr;
  QLineEdit* m_maxAge = nullptr;
  QLineEdit* m_minAge = nullptr;
  QLineEdit* m_minLength = nullptr;
  QLineEdit* m_history = nullptr;
  QCheckBox* m_forceLogoff = nullptr;
  QCheckBox* m_useLockout = nullptr;
  QLabel* m_thresholdLabel = nullptr;
  QLineEdit* m_threshold = nullptr;
  QLabel* m_windowLabel = nullptr;
  QLineEdit* m_window = nullptr;
  QCheckBox* m_forever = nullptr;
  QLabel* m_durationLabel = nullptr;
  QLineEdit* m_duration = nullptr;
  QToolButton* m_arrows[6] = {};
};

}  // namespace users
