#pragma once
// The Users list: one row per UserRecord, columns 0-21 showing record words
// 1-18 and 20-23 (word 19, the logged-on flag, has no column).

#include "display/record_table_model.h"
#include "dlgthreads/records.h"

namespace display {

class UserTableModel final : public RecordTableModel<dlgthreads::UserRecord> {
  Q_OBJECT
 public:
  enum Column : int {
    UserName = 0,
    FullName,
    Logons,
    LastLogon,
    AcctExpires,
    Disabled,
    HasPassword,
    MaxStorage,
    Profile,
    Script,
    PwExpires,
    LockedOut,
    ChangePwdNext,
    NoPwdChange,
    Description,
    Drive,
    Home,
    Active,
    PwdAge,
    Ras,
    CallbackNumber,
    RasType,
    ColumnCount
  };
  static_assert(ColumnCount == kUsersColumnCount);

  explicit UserTableModel(IconSet icons = {}, QObject* parent = nullptr);

  // Takes the finished records: every record before the end record gets a
  // row, in record order, and its tag set to 1.
  void adopt(Holder records) { adoptAllRecords(std::move(records)); }

  // The record word a column shows.
  static constexpr int recordWord(int column) { return column < PwdAge ? column + 1 : column + 2; }
  // The state image of an account: disabled wins over locked out.
  static ListImage imageOf(const dlgthreads::UserRecord& record);

 private:
  QVariant cellValue(const dlgthreads::UserRecord& record, int column, int role) const override;
  ListImage rowImage(const dlgthreads::UserRecord& record) const override { return imageOf(record); }
};

}  // namespace display
