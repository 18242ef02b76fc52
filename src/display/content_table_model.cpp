#include "display/content_table_model.h"

#include <QTableView>

namespace display {
namespace {

QString toQString(const std::string& text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

ContentTableModel::ContentTableModel(std::shared_ptr<session::DisplayContent> content,
                                     IconSet icons, QObject* parent)
    : QAbstractTableModel(parent),
      m_content(std::move(content)),
      m_icons(std::move(icons)),
      m_columns(static_cast<int>(m_content->columns().size())) {}

void ContentTableModel::reset() {
  beginResetModel();
  m_columns = static_cast<int>(m_content->columns().size());
  endResetModel();
}

int ContentTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(m_content->rowCount());
}

int ContentTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : m_columns;
}

QVariant ContentTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.parent().isValid() || index.row() < 0 ||
      index.row() >= rowCount() || index.column() < 0 || index.column() >= m_columns)
    return {};
  const auto row = static_cast<std::size_t>(index.row());
  switch (role) {
    case kRawRole:
      if (const auto number = m_content->cellNumber(row, index.column()))
        return QVariant::fromValue<qulonglong>(*number);
      [[fallthrough]];
    case Qt::DisplayRole:
      return toQString(m_content->cellText(row, index.column()));
    case Qt::DecorationRole: {
      if (index.column() != 0) return {};
      const auto image = m_content->image(row);
      if (!image) return {};
      if (const QIcon& icon = m_icons.icon(*image); !icon.isNull()) return icon;
      return {};
    }
    case kRecordIndexRole:
      return QVariant::fromValue<qlonglong>(m_content->rowValue(row));
    case kTagRole:
      return QVariant::fromValue<uint>(m_content->rowTag(row));
    default:
      return {};
  }
}

QVariant ContentTableModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= m_columns)
    return QAbstractTableModel::headerData(section, orientation, role);
  if (role == Qt::DisplayRole) {
    const auto columns = m_content->columns();
    const auto c = static_cast<std::size_t>(section);
    return c < columns.size() ? QString::fromUtf8(columns[c].header.data(),
                                                  static_cast<qsizetype>(columns[c].header.size()))
                              : QString();
  }
  if (role == Qt::TextAlignmentRole)
    return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
  return {};
}

ContentTableModel* contentModelOf(const QTableView& view) {
  return qobject_cast<ContentTableModel*>(view.model());
}

}  // namespace display
