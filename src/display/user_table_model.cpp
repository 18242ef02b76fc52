#include "display/user_table_model.h"

#include "resources/strings.h"

namespace display {

using dlgthreads::UserRecord;

UserTableModel::UserTableModel(IconSet icons, QObject* parent)
    : RecordTableModel(columnSpecs(DisplayType::Users), std::move(icons), parent) {}

ListImage UserTableModel::imageOf(const UserRecord& record) {
  const std::string_view yes = res::loadString(res::kStrYes);
  if (record.disabled == yes) return ListImage::Disabled;
  if (record.lockedOut == yes) return ListImage::LockedOut;
  return ListImage::Account;
}

QVariant UserTableModel::cellValue(const UserRecord& record, int column, int) const {
  return toQString(record.text(recordWord(column)));
}

}  // namespace display
