#include "transfer/import_preview_dialog.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

#include "platform/message_text.h"

namespace transfer {

namespace {

// The records as rows: line, name, result, details.
class PreviewRecordsModel final : public QAbstractTableModel {
 public:
  PreviewRecordsModel(const std::vector<PreviewRecord>& records, QObject* parent)
      : QAbstractTableModel(parent), m_records(records) {}

  int rowCount(const QModelIndex& parent = {}) const override {
    return parent.isValid() ? 0 : static_cast<int>(m_records.size());
  }
  int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 4; }

  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const PreviewRecord& r = m_records[static_cast<std::size_t>(index.row())];
    if (role == Qt::ForegroundRole && r.outcome == PreviewOutcome::WouldFail)
      return QBrush(Qt::darkRed);
    if (role == Qt::TextAlignmentRole && index.column() == 0)
      return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role != Qt::DisplayRole && role != Qt::ToolTipRole) return {};
    switch (index.column()) {
      case 0: return QVariant::fromValue(static_cast<qulonglong>(r.line));
      case 1: return QString::fromStdString(platform::messageText(r.name));
      case 2: return QString::fromStdString(std::string(outcomeWords(r.outcome)));
      default: {
        std::string details = r.detail;
        if (!r.home.empty()) details += (details.empty() ? "" : "; ") + r.home;
        return QString::fromStdString(details);
      }
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const kTitles[] = {"Line", "Name", "Result", "Details"};
    return QString::fromLatin1(kTitles[section]);
  }

 private:
  const std::vector<PreviewRecord>& m_records;
};

QString joined(const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& line : lines) list << QString::fromStdString(line);
  return list.join(QLatin1Char('\n'));
}

}  // namespace

ImportPreviewDialog::ImportPreviewDialog(ImportPreview preview, QWidget* parent)
    : QDialog(parent), m_preview(std::move(preview)) {
  setObjectName(QStringLiteral("ImportPreview"));
  setWindowTitle(QStringLiteral("Preview changes"));

  std::vector<std::string> lines = m_preview.problems;
  for (std::string& line : m_preview.countLines()) lines.push_back(std::move(line));
  m_counts = new QLabel(joined(lines), this);
  m_counts->setTextInteractionFlags(Qt::TextSelectableByMouse);
  m_counts->setWordWrap(true);

  m_list = new QTableView(this);
  m_list->setObjectName(QStringLiteral("records"));
  m_list->setModel(new PreviewRecordsModel(m_preview.records, m_list));
  m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
  m_list->setWordWrap(false);
  m_list->verticalHeader()->hide();
  m_list->horizontalHeader()->setStretchLastSection(true);
  m_list->setColumnWidth(0, 50);
  m_list->setColumnWidth(1, 130);
  m_list->setColumnWidth(2, 90);
  m_list->setMinimumSize(620, 260);
  if (m_preview.records.empty()) m_list->hide();

  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  QPushButton* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
  copy->setObjectName(QStringLiteral("copy"));
  connect(copy, &QPushButton::clicked, this, [this] { copyToClipboard(); });
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_counts);
  layout->addWidget(m_list, 1);
  layout->addWidget(buttons);
}

QString ImportPreviewDialog::countsText() const { return m_counts->text(); }

void ImportPreviewDialog::copyToClipboard() const {
  QString text;
  for (const PreviewRecord& r : m_preview.records) text += QString::fromStdString(r.text()) + '\n';
  text += countsText() + '\n';
  QGuiApplication::clipboard()->setText(text);
}

}  // namespace transfer
