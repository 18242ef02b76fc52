#include "display/text_table_model.h"

#include <QString>

namespace display {
namespace {

QString toQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

TextTableModel::TextTableModel(std::span<const ColumnSpec> columns, IconSet icons,
                               QObject* parent)
    : QAbstractTableModel(parent), m_columns(columns), m_icons(std::move(icons)) {}

void TextTableModel::setColumns(std::span<const ColumnSpec> columns) {
  beginResetModel();
  m_columns = columns;
  m_rows.clear();
  endResetModel();
}

void TextTableModel::setRows(std::vector<TextRow> rows) {
  beginResetModel();
  m_rows = std::move(rows);
  endResetModel();
}

int TextTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int TextTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant TextTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
      index.row() >= rowCount() || index.column() < 0 || index.column() >= columnCount())
    return {};
  const TextRow& row = m_rows[static_cast<std::size_t>(index.row())];
  const auto column = static_cast<std::size_t>(index.column());
  switch (role) {
    case Qt::DisplayRole:
    case kRawRole:
      return column < row.cells.size() ? toQString(row.cells[column]) : QString();
    case Qt::DecorationRole:
      if (column != 0 || !row.image) return {};
      if (const QIcon& icon = m_icons.icon(*row.image); !icon.isNull()) return icon;
      return {};
    case kRecordIndexRole:
      return QVariant::fromValue<qlonglong>(row.value);
    default:
      return {};
  }
}

QVariant TextTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole) return toQString(m_columns[static_cast<std::size_t>(section)].header);
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  return {};
}

}  // namespace display
