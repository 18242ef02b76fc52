#pragma once
// The common part of the table models over a record array: the records are
// adopted whole from the finished browse (no per-cell items), and the rows
// map to record indexes so that sorting and filtering only reorder indexes.

#include <QAbstractTableModel>
#include <QString>

#include <algorithm>
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

// A list over one kind of record: holds the records, gives rows to them, and
// answers the roles every list answers alike. A list says what its cells
// show (display and raw roles) and which image its first column shows.
template <class Record>
class RecordTableModel : public RecordTableModelBase {
 public:
  using Holder = dlgthreads::RecordHolder<Record>;
  using RecordTableModelBase::RecordTableModelBase;

  // Drops every row and record.
  void clear() {
    beginResetModel();
    m_records = {};
    setRows({});
    endResetModel();
  }

  // Tags every record kept (1) or dropped (0) by `keep`, then gives rows,
  // in record order, to the kept records the list shows, in one pass. Every
  // record is tested afresh, so filters never accumulate. Returns the rows.
  template <class Keep>
  std::size_t refilter(Keep keep) {
    beginResetModel();
    std::span<Record> all = m_records.records();
    std::vector<std::uint32_t> rows;
    rows.reserve(all.size());
    for (std::size_t i = 0; i < all.size(); ++i) {
      all[i].tag = 1;
      all[i].tag = keep(std::as_const(all[i])) ? 1 : 0;
      if (all[i].tag != 0 && rowShown(all[i])) rows.push_back(static_cast<std::uint32_t>(i));
    }
    const std::size_t count = rows.size();
    setRows(std::move(rows));
    endResetModel();
    return count;
  }

  // Reorders the rows by `order` (three-way over two records), keeping the
  // present order among rows it finds equal.
  template <class Order>
  void sortRows(Order order) {
    std::vector<std::uint32_t> rows = rowOrder();
    std::span<const Record> all = m_records.records();
    std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) {
      return order(all[a], all[b]) < 0;
    });
    setRowOrder(std::move(rows));
  }

  const Record* recordAt(int row) const {
    const std::int64_t index = recordIndex(row);
    return index < 0 ? nullptr : &m_records.records()[static_cast<std::size_t>(index)];
  }
  std::span<const Record> records() const { return m_records.records(); }
  std::size_t recordCount() const override { return m_records.records().size(); }

  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override {
    if (!validCell(index)) return {};
    const Record& record = *recordAt(index.row());
    switch (role) {
      case Qt::DisplayRole:
      case kRawRole:
        return cellValue(record, index.column(), role);
      case Qt::DecorationRole:
        if (index.column() != 0) return {};
        if (const QIcon& icon = icons().icon(rowImage(record)); !icon.isNull()) return icon;
        return {};
      case kRecordIndexRole:
        return QVariant::fromValue<qlonglong>(recordIndex(index.row()));
      case kTagRole:
        return QVariant::fromValue<uint>(record.tag);
      default:
        return {};
    }
  }

 protected:
  // Takes the finished records, tags every one of them and gives a row, in
  // record order, to each that `shown` accepts.
  template <class Shown>
  void adoptRecords(Holder records, Shown shown) {
    beginResetModel();
    m_records = std::move(records);
    std::span<Record> filled = m_records.records();
    std::vector<std::uint32_t> rows;
    rows.reserve(filled.size());
    for (std::size_t i = 0; i < filled.size(); ++i) {
      filled[i].tag = 1;
      if (shown(std::as_const(filled[i]))) rows.push_back(static_cast<std::uint32_t>(i));
    }
    setRows(std::move(rows));
    endResetModel();
  }
  void adoptAllRecords(Holder records) {
    adoptRecords(std::move(records), [](const Record&) { return true; });
  }

  // Whether a kept record has a row of its own (member lines may be hidden).
  virtual bool rowShown(const Record&) const { return true; }
  // What a cell shows for Qt::DisplayRole and kRawRole.
  virtual QVariant cellValue(const Record& record, int column, int role) const = 0;
  // The image the first column shows for a record.
  virtual ListImage rowImage(const Record& record) const = 0;

 private:
  Holder m_records;
};

}  // namespace display
