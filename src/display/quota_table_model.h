#pragma once
// The Quotas list: directory, size, status text, usage and the used amount,
// with the status's picture on each line.

#include "display/record_table_model.h"
#include "dlgthreads/quota_data.h"

namespace display {

class QuotaTableModel final : public RecordTableModel<dlgthreads::QuotaRecord> {
  Q_OBJECT
 public:
  enum Column : int { Directory = 0, Size, Status, Usage, Used, ColumnCount };
  static_assert(ColumnCount == kQuotasColumnCount);

  explicit QuotaTableModel(IconSet icons = {}, QObject* parent = nullptr);

  void adopt(Holder records) { adoptAllRecords(std::move(records)); }

  // Unknown codes show the ok picture: the service may add codes we do not know.
  static ListImage imageOf(const dlgthreads::QuotaRecord& record);

 private:
  QVariant cellValue(const dlgthreads::QuotaRecord& record, int column, int role) const override;
  ListImage rowImage(const dlgthreads::QuotaRecord& record) const override {
    return imageOf(record);
  }
};

}  // namespace display
