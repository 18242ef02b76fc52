#include "display/record_table_model.h"

namespace display {

RecordTableModelBase::RecordTableModelBase(std::span<const ColumnSpec> columns, IconSet icons,
                                           QObject* parent)
    : QAbstractTableModel(parent), m_columns(columns), m_icons(std::move(icons)) {}

int RecordTableModelBase::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int RecordTableModelBase::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant RecordTableModelBase::headerData(int section, Qt::Orientation orientation,
                                          int role) const {
  if (orientation != Qt::Horizontal || section < 0 ||
      section >= static_cast<int>(m_columns.size()))
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole) return toQString(m_columns[section].header);
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  return {};
}

std::int64_t RecordTableModelBase::recordIndex(int row) const {
  if (row < 0 || row >= static_cast<int>(m_rows.size())) return -1;
  return m_rows[static_cast<std::size_t>(row)];
}

void RecordTableModelBase::setRowOrder(std::vector<std::uint32_t> rows) {
  const std::size_t records = recordCount();
  std::erase_if(rows, [records](std::uint32_t r) { return r >= records; });
  beginResetModel();
  m_rows = std::move(rows);
  endResetModel();
}

bool RecordTableModelBase::validCell(const QModelIndex& index) const {
  return index.isValid() && !index.parent().isValid() && index.row() >= 0 &&
         index.row() < static_cast<int>(m_rows.size()) && index.column() >= 0 &&
         index.column() < static_cast<int>(m_columns.size());
}

}  // namespace display
