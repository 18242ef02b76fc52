#pragma once
// The Servers list: name, comment, the 22 type flags as "X" or "-", then
// version, build, service pack, installation date and the five extra entries.

#include "display/record_table_model.h"
#include "dlgthreads/records.h"

namespace display {

class ServerTableModel final : public RecordTableModel<dlgthreads::ServerRecord> {
  Q_OBJECT
 public:
  enum Column : int {
    ServerName = 0,
    Description = 1,
    FirstFlag = 2,  // columns 2-23: type flags in record order
    Version = 24,
    Build,
    ServicePack,
    InstallDate,
    FirstExtra,  // 28-32
    ColumnCount = FirstExtra + dlgthreads::ServerRecord::kExtraEntries
  };
  static_assert(ColumnCount == kServersColumnCount);

  explicit ServerTableModel(IconSet icons = {}, QObject* parent = nullptr);

  // Takes the finished records: every record gets a row and its tag set.
  void adopt(Holder records) { adoptAllRecords(std::move(records)); }

  // The record word a column shows.
  static int recordWord(int column);

 private:
  QVariant cellValue(const dlgthreads::ServerRecord& record, int column, int role) const override;
  ListImage rowImage(const dlgthreads::ServerRecord&) const override { return ListImage::Server; }
};

}  // namespace display
