#include "display/group_table_model.h"

#include "display/fill_messages.h"
#include "resources/strings.h"

namespace display {

using dlgthreads::GroupRecord;

GroupTableModel::GroupTableModel(IconSet icons, QObject* parent)
    : RecordTableModel(columnSpecs(DisplayType::Groups), std::move(icons), parent) {}

GroupTableModel::LineKind GroupTableModel::kindOf(const GroupRecord& record) {
  // Neither marker contains the other; the global marker is looked for first,
  // so a text holding both reads as a global group line.
  if (record.third.find(res::loadString(res::kStrGroupContainer)) != std::string::npos)
    return LineKind::GlobalGroup;
  if (record.third.find(res::loadString(res::kStrLocalGroupContainer)) != std::string::npos)
    return LineKind::LocalGroup;
  return LineKind::Member;
}

ListImage GroupTableModel::imageOf(LineKind kind) {
  switch (kind) {
    case LineKind::GlobalGroup: return ListImage::GlobalGroup;
    case LineKind::LocalGroup: return ListImage::LocalGroup;
    case LineKind::Member: break;
  }
  return ListImage::Account;
}

bool GroupTableModel::rowShown(const GroupRecord& record) const {
  return m_showMembers || kindOf(record) != LineKind::Member || isErrorRecord(record.name);
}

void GroupTableModel::adopt(Holder records, bool showMembers) {
  m_showMembers = showMembers;
  adoptRecords(std::move(records), [this](const GroupRecord& record) {
    return rowShown(record);
  });
}

QVariant GroupTableModel::cellValue(const GroupRecord& record, int column, int) const {
  return toQString(record.text(column + 1));
}

}  // namespace display
