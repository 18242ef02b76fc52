#include "display/server_table_model.h"

namespace display {

using dlgthreads::ServerRecord;

ServerTableModel::ServerTableModel(IconSet icons, QObject* parent)
    : RecordTableModel(columnSpecs(DisplayType::Servers), std::move(icons), parent) {}

int ServerTableModel::recordWord(int column) {
  // The list shows the version before the build; the record keeps them the
  // other way round.
  switch (column) {
    case Version: return 26;
    case Build: return 25;
    default: return column + 1;
  }
}

QVariant ServerTableModel::cellValue(const ServerRecord& record, int column, int role) const {
  const int word = recordWord(column);
  if (column >= FirstFlag && column < Version) {
    if (role == kRawRole) return QVariant::fromValue<uint>(record.flag(word));
    return record.flag(word) == 1 ? QStringLiteral("X") : QStringLiteral("-");
  }
  return toQString(record.text(word));
}

}  // namespace display
