#include "display/quota_table_model.h"

namespace display {

using dlgthreads::QuotaRecord;

QuotaTableModel::QuotaTableModel(IconSet icons, QObject* parent)
    : RecordTableModel(columnSpecs(DisplayType::Quotas), std::move(icons), parent) {}

ListImage QuotaTableModel::imageOf(const QuotaRecord& record) {
  if (record.status == "wr") return ListImage::QuotaWarning;
  if (record.status == "st") return ListImage::QuotaStop;
  if (record.status == "il") return ListImage::QuotaIllegal;
  return ListImage::QuotaOk;
}

QVariant QuotaTableModel::cellValue(const QuotaRecord& record, int column, int role) const {
  if (role == kRawRole) {
    switch (column) {
      case Size:
        return QVariant::fromValue<qulonglong>(record.size);
      case Usage:
        return QVariant::fromValue<qulonglong>(record.usage);
      case Used:
        return QVariant::fromValue<qulonglong>(record.usedKb());
      default:
        break;
    }
  }
  return toQString(dlgthreads::quotaColumnText(record, column));
}

}  // namespace display
