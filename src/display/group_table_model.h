#pragma once
// The Groups list: group lines (global and local) and, when members are
// shown, their member lines. Columns: name, comment, third text.

#include "display/record_table_model.h"
#include "dlgthreads/records.h"

namespace display {

class GroupTableModel final : public RecordTableModel<dlgthreads::GroupRecord> {
  Q_OBJECT
 public:
  enum Column : int { GroupName = 0, Comment, Member, ColumnCount };
  static_assert(ColumnCount == kGroupsColumnCount);

  enum class LineKind { GlobalGroup, LocalGroup, Member };

  explicit GroupTableModel(IconSet icons = {}, QObject* parent = nullptr);

  // Takes the finished records and tags every one of them. Group lines always
  // get a row, member lines only with `showMembers`; a worker's "ERROR" line
  // always gets one, so the failure it reports cannot be filtered out of
  // sight.
  void adopt(Holder records, bool showMembers);

  static LineKind kindOf(const dlgthreads::GroupRecord& record);
  static ListImage imageOf(LineKind kind);

 private:
  bool rowShown(const dlgthreads::GroupRecord& record) const override;
  QVariant cellValue(const dlgthreads::GroupRecord& record, int column, int role) const override;
  ListImage rowImage(const dlgthreads::GroupRecord& record) const override {
    return imageOf(kindOf(record));
  }

  bool m_showMembers = false;
};

}  // namespace display
