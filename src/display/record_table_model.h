#pragma once
// The common part of the table models over a record array: the records are
// adopted whole from the finished browse (no per-cell items), and the rows
// map to record indexes so that sorting and filtering only reorder indexes.

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "display/column_sets.h"
#include "display/icon_set.h"
#include "display/model_roles.h"
#include "dlgthreads/record_holder.h"

namespace display {

class RecordTableModelBase : public QAbstractTableModel {
  Q_OBJECT
 public:
  RecordTableModelBase(std::span<const ColumnSpec> columns, IconSet icons, QObject* parent);

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

  // The record index of a row (the row data value); -1 when out of range.
  std::int64_t recordIndex(int row) const;
  // Replaces the row order (sorting, filtering); values that are no valid
  // record index are dropped.
  void setRowOrder(std::vector<std::uint32_t> rows);
  // The records the model holds (rows may show fewer of them).
  virtual std::size_t recordCount() const = 0;
  const std::vector<std::uint32_t>& rowOrder() const { return m_rows; }

  const IconSet& icons() const { return m_icons; }

 protected:
  static QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
  }
  bool validCell(const QModelIndex& index) const;
  // Installs new rows; call between beginResetModel and endResetModel.
  void setRows(std::vector<std::uint32_t> rows) { m_rows = std::move(rows); }

 private:
  std::span<const ColumnSpec> m_columns;
  IconSet m_icons;
  std::vector<std::uint32_t> m_rows;
};

}  // namespace display
