#include "display/user_table_model.h"

#include <numeric>

#include "resources/strings.h"

namespace display {

using dlgthreads::UserRecord;

UserTableModel::UserTableModel(IconSet icons, QObject* parent)
    : RecordTableModelBase(columnSpecs(DisplayType::Users), std::move(icons), parent) {}

void UserTableModel::adopt(Holder records) {
  beginResetModel();
  m_records = std::move(records);
  std::span<UserRecord> filled = m_records.records();
  for (UserRecord& record : filled) record.tag = 1;
  std::vector<std::uint32_t> rows(filled.size());
  std::iota(rows.begin(), rows.end(), 0u);
  setRows(std::move(rows));
  endResetModel();
}

void UserTableModel::clear() {
  beginResetModel();
  m_records = {};
  setRows({});
  endResetModel();
}

ListImage UserTableModel::imageOf(const UserRecord& record) {
  const std::string_view yes = res::loadString(res::kStrYes);
  if (record.disabled == yes) return ListImage::Disabled;
  if (record.lockedOut == yes) return ListImage::LockedOut;
  return ListImage::Account;
}

const UserRecord* UserTableModel::recordAt(int row) const {
  const std::int64_t index = recordIndex(row);
  return index < 0 ? nullptr : &m_records.records()[static_cast<std::size_t>(index)];
}

QVariant UserTableModel::data(const QModelIndex& index, int role) const {
  if (!validCell(index)) return {};
  const UserRecord& record = *recordAt(index.row());
  switch (role) {
    case Qt::DisplayRole:
    case kRawRole:
      return toQString(record.text(recordWord(index.column())));
    case Qt::DecorationRole:
      if (index.column() != UserName) return {};
      if (const QIcon& icon = icons().icon(imageOf(record)); !icon.isNull()) return icon;
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
