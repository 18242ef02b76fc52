#pragma once
// The Users list: one row per UserRecord, columns 0-21 showing record words
// 1-18 and 20-23 (word 19, the logged-on flag, has no column).

#include "display/record_table_model.h"
#include "dlgthreads/records.h"

namespace display {

class UserTableModel final : public RecordTableModelBase {
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

  using Holder = dlgthreads::RecordHolder<dlgthreads::UserRecord>;

  explicit UserTableModel(IconSet icons = {}, QObject* parent = nullptr);

  // Takes the finished records: every record before the end record gets a
  // row, in record order, and its tag set to 1.
  void adopt(Holder records);
  // Drops every row and record.
  void clear();

  // The record word a column shows.
  static constexpr int recordWord(int column) { return column < PwdAge ? column + 1 : column + 2; }
  // The state image of an account: disabled wins over locked out.
  static ListImage imageOf(const dlgthreads::UserRecord& record);

  const dlgthreads::UserRecord* recordAt(int row) const;
  std::span<const dlgthreads::UserRecord> records() const { return m_records.records(); }
  std::size_t recordCount() const override { return m_records.records().size(); }

  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

 private:
  Holder m_records;
};

}  // namespace display
