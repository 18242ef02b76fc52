#pragma once
// A list of rows of ready-made cell texts under a fixed column set: the
// Files list forms, Quotas, Licenses and Trusts, whose rows are formatted
// once at fill time from their areas. Rows keep an image and a row data
// value of their own.

#include <QAbstractTableModel>

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/column_sets.h"
#include "display/icon_set.h"
#include "display/model_roles.h"

namespace display {

struct TextRow {
  std::vector<std::string> cells;  // missing cells read as ""
  std::optional<ListImage> image;
  std::int64_t value = -1;  // the row data value (an index into the display's area)
};

class TextTableModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  TextTableModel(std::span<const ColumnSpec> columns, IconSet icons = {},
                 QObject* parent = nullptr);

  // A new column set (the Files list changing form); drops the rows.
  void setColumns(std::span<const ColumnSpec> columns);
  std::span<const ColumnSpec> columns() const { return m_columns; }

  void setRows(std::vector<TextRow> rows);
  void clear() { setRows({}); }
  const std::vector<TextRow>& rows() const { return m_rows; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 private:
  std::span<const ColumnSpec> m_columns;
  IconSet m_icons;
  std::vector<TextRow> m_rows;
};

}  // namespace display
