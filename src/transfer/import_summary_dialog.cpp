#include "transfer/import_summary_dialog.h"

#include <QClipboard>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace transfer {

namespace {

QString joined(const std::vector<std::string>& lines) {
  QStringList list;
  for (const std::string& line : lines) list << QString::fromStdString(line);
  return list.join(QLatin1Char('\n'));
}

}  // namespace

ImportSummaryDialog::ImportSummaryDialog(const ImportSummary& summary, QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("ImportSummary"));
  setWindowTitle(QStringLiteral("Import finished"));
  m_counts = new QLabel(joined(summary.countLines()), this);
  m_counts->setTextInteractionFlags(Qt::TextSelectableByMouse);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_counts);
  m_failures = new QPlainTextEdit(joined(summary.failures), this);
  m_failures->setObjectName(QStringLiteral("failures"));
  m_failures->setReadOnly(true);
  m_failures->setLineWrapMode(QPlainTextEdit::NoWrap);
  m_failures->setMinimumSize(480, 160);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  if (summary.failures.empty()) {
    m_failures->hide();
  } else {
    layout->addWidget(new QLabel(QStringLiteral("Failures:"), this));
    layout->addWidget(m_failures);
    QPushButton* copy = buttons->addButton(QStringLiteral("&Copy"), QDialogButtonBox::ActionRole);
    copy->setObjectName(QStringLiteral("copy"));
    connect(copy, &QPushButton::clicked, this, [this] { copyToClipboard(); });
  }
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  layout->addWidget(buttons);
}

QString ImportSummaryDialog::countsText() const { return m_counts->text(); }
QString ImportSummaryDialog::failuresText() const { return m_failures->toPlainText(); }

void ImportSummaryDialog::copyToClipboard() const {
  QString text = countsText() + QLatin1Char('\n');
  if (!failuresText().isEmpty()) text += failuresText() + QLatin1Char('\n');
  QGuiApplication::clipboard()->setText(text);
}

}  // namespace transfer
