#pragma once
// The wizard's preview list: the import file's header as column titles and
// its records as rows, read straight from the parsed file.

#include <QAbstractTableModel>

#include "transfer/import/import_file.h"

namespace transfer {

class ImportPreviewModel final : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit ImportPreviewModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

  void show(const ImportTable* table);  // nullptr: empty

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  const ImportTable* m_table = nullptr;
};

}  // namespace transfer
