#include "display/group_table_model.h"

#include "display/fill_messages.h"
#include "resources/strings.h"

namespace display {

using dlgthreads::GroupRecord;

GroupTableModel::GroupTableModel(IconSet icons, QObject* parent)
    : RecordTableModelBase(columnSpecs(DisplayType::Groups), std::move(icons), parent) {}

GroupTableModel::LineKind GroupTableModel::kindOf(const GroupRecord& record) {
  // The local marker contains the global one's letters but not the other way
  // round, so it is tested first.
  if (record.third.find(res::loadString(res::kStrLocalGroupContainer)) != std::string::npos)
    return LineKind::LocalGroup;
  if (record.third.find(res::loadString(res::kStrGroupContainer)) != std::string::npos)
    return LineKind::GlobalGroup;
  return LineKind::Member;
}

ListImage GroupTableModel::imageOf(LineKind kind) {
  switch (kind) {
    case LineKind::GlobalGroup: return ListImage::GlobalGroup;
    case LineKind::LocalGroup: return ListImage::LocalGroup;
    case LineKind::Member: break;
  }
  return ListImage::Account;
}

void GroupTableModel::adopt(Holder records, bool showMembers) {
  beginResetModel();
  m_records = std::move(records);
  std::span<GroupRecord> filled = m_records.records();
  std::vector<std::uint32_t> rows;
  rows.reserve(filled.size());
  for (std::size_t i = 0; i < filled.size(); ++i) {
    GroupRecord& record = filled[i];
    record.tag = 1;
    if (showMembers || kindOf(record) != LineKind::Member || isErrorRecord(record.name))
      rows.push_back(static_cast<std::uint32_t>(i));
  }
  setRows(std::move(rows));
  endResetModel();
}

void GroupTableModel::clear() {
  beginResetModel();
  m_records = {};
  setRows({});
  endResetModel();
}

const GroupRecord* GroupTableModel::recordAt(int row) const {
  const std::int64_t index = recordIndex(row);
  return index < 0 ? nullptr : &m_records.records()[static_cast<std::size_t>(index)];
}

QVariant GroupTableModel::data(const QModelIndex& index, int role) const {
  if (!validCell(index)) return {};
  const GroupRecord& record = *recordAt(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case kRawRole:
      return toQString(record.text(index.column() + 1));
    case Qt::DecorationRole:
      if (index.column() != GroupName) return {};
      if (const QIcon& icon = icons().icon(imageOf(kindOf(record))); !icon.isNull()) return icon;
      return {};
    case kRecordIndexRole:
      return QVariant::fromValue<qlonglong>(recordIndex(index.row()));
    case kTagRole:
      return QVariant::fromValue<uint>(record.tag);
    default:
      return {};
  }
}

}  // namespace display
