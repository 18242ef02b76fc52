#include "transfer/import_preview_model.h"

namespace transfer {

void ImportPreviewModel::show(const ImportTable* table) {
  beginResetModel();
  m_table = table;
  endResetModel();
}

int ImportPreviewModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() || !m_table ? 0 : static_cast<int>(m_table->rows.size());
}

int ImportPreviewModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() || !m_table ? 0 : static_cast<int>(m_table->header.size());
}

QVariant ImportPreviewModel::data(const QModelIndex& index, int role) const {
  if (!m_table || !index.isValid() || (role != Qt::DisplayRole && role != Qt::ToolTipRole))
    return {};
  const auto column = static_cast<std::size_t>(index.column());
  const std::string& cell = m_table->rows[static_cast<std::size_t>(index.row())].cells[column];
  // Passwords are not shown to whoever looks at the screen.
  if (m_table->header[column] == "Password" && m_table->header.front() == "UserName" &&
      !cell.empty())
    return QStringLiteral("********");
  return QString::fromStdString(cell);
}

QVariant ImportPreviewModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (!m_table || role != Qt::DisplayRole) return {};
  if (orientation == Qt::Horizontal)
    return QString::fromStdString(m_table->header[static_cast<std::size_t>(section)]);
  return QVariant::fromValue(static_cast<qulonglong>(m_table->rows[static_cast<std::size_t>(section)].line));
}

}  // namespace transfer
