#include "display/server_table_model.h"

#include <numeric>

namespace display {

using dlgthreads::ServerRecord;

ServerTableModel::ServerTableModel(IconSet icons, QObject* parent)
    : RecordTableModelBase(columnSpecs(DisplayType::Servers), std::move(icons), parent) {}

void ServerTableModel::adopt(Holder records) {
  beginResetModel();
  m_records = std::move(records);
  std::span<ServerRecord> filled = m_records.records();
  for (ServerRecord& record : filled) record.tag = 1;
  std::vector<std::uint32_t> rows(filled.size());
  std::iota(rows.begin(), rows.end(), 0u);
  setRows(std::move(rows));
  endResetModel();
}

void ServerTableModel::clear() {
  beginResetModel();
  m_records = {};
  setRows({});
  endResetModel();
}

int ServerTableModel::recordWord(int column) {
  // The list shows the version before the build; the record keeps them the
  // other way round.
  switch (column) {
    case Version: return 26;
    case Build: return 25;
    default: return column + 1;
  }
}

const ServerRecord* ServerTableModel::recordAt(int row) const {
  const std::int64_t index = recordIndex(row);
  return index < 0 ? nullptr : &m_records.records()[static_cast<std::size_t>(index)];
}

QVariant ServerTableModel::data(const QModelIndex& index, int role) const {
  if (!validCell(index)) return {};
  const ServerRecord& record = *recordAt(index.row());
  const int column = index.column();
  const int word = recordWord(column);
  const bool isFlag = column >= FirstFlag && column < Version;
  switch (role) {
    case Qt::DisplayRole:
      if (isFlag) return record.flag(word) == 1 ? QStringLiteral("X") : QStringLiteral("-");
      return toQString(record.text(word));
    case kRawRole:
      if (isFlag) return QVariant::fromValue<uint>(record.flag(word));
      return toQString(record.text(word));
    case Qt::DecorationRole:
      if (column != ServerName) return {};
      if (const QIcon& icon = icons().icon(ListImage::Server); !icon.isNull()) return icon;
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
