#include "transfer/import_dialog.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QVBoxLayout>

#include "transfer/import/import_texts.h"
#include "transfer/import/import_preview.h"
#include "transfer/import_preview_dialog.h"
#include "transfer/import_preview_model.h"
#include "transfer/import_progress_dialog.h"
#include "transfer/import_summary_dialog.h"
#include "ui/dialog_runner.h"
#include "ui/file_chooser.h"
#include "ui/icons.h"
#include "ui/messages.h"
#include "resources/strings.h"

namespace transfer {

ImportDialog::ImportDialog(std::string server, bool logging, ImportDialogPorts ports,
                           QWidget* parent)
    : QDialog(parent), m_server(std::move(server)), m_logging(logging), m_ports(ports) {
  setObjectName(QStringLiteral("ImportFromFile"));
  setWindowTitle(QStringLiteral("Import from file to ") + QString::fromStdString(m_server));

  auto* picture = new QLabel(this);
  picture->setPixmap(ui::appIcon().pixmap(60, 60));
  picture->setFixedSize(60, 60);

  m_path = new QLineEdit(this);
  m_path->setObjectName(QStringLiteral("path"));
  m_browse = new QPushButton(QStringLiteral("Bro&wse"), this);
  m_preview = new QTableView(this);
  m_model = new ImportPreviewModel(m_preview);
  m_preview->setModel(m_model);
  m_preview->horizontalHeader()->setDefaultSectionSize(100);
  m_preview->setEditTriggers(QAbstractItemView::NoEditTriggers);
  m_preview->setWordWrap(false);
  m_preview->setMinimumSize(520, 200);

  auto* style = new QGroupBox(QStringLiteral("Import style"), this);
  m_onlyAddNew = new QRadioButton(QStringLiteral("&Only add new"), style);
  m_updateAll = new QRadioButton(QStringLiteral("&Update all"), style);
  m_onlyAddNew->setChecked(true);
  auto* styleLayout = new QVBoxLayout(style);
  styleLayout->addWidget(m_onlyAddNew);
  styleLayout->addWidget(m_updateAll);
  m_createHomes = new QCheckBox(QStringLiteral("C&reate Homes"), this);
  // Kept for the layout's sake: it never had an effect.
  m_createShares = new QCheckBox(QStringLiteral("Create &Shares"), this);
  m_createShares->hide();

  m_back = new QPushButton(QStringLiteral("< &Back"), this);
  m_next = new QPushButton(QStringLiteral("&Next >"), this);
  m_finish = new QPushButton(QStringLiteral("&Finish"), this);
  m_cancel = new QPushButton(QStringLiteral("&Cancel"), this);
  // After the wizard's own buttons: what Finish would do, without doing it.
  m_previewChanges = new QPushButton(QStringLiteral("&Preview changes"), this);
  m_previewChanges->setObjectName(QStringLiteral("previewChanges"));
  m_next->setDefault(true);

  auto* fileRow = new QHBoxLayout;
  fileRow->addWidget(new QLabel(QStringLiteral("Select file to import :"), this));
  fileRow->addWidget(m_path, 1);
  fileRow->addWidget(m_browse);
  auto* options = new QHBoxLayout;
  options->addWidget(style);
  options->addWidget(m_createHomes);
  options->addWidget(m_createShares);
  options->addStretch(1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  for (QPushButton* b : {m_back, m_next, m_finish, m_cancel}) buttons->addWidget(b);
  buttons->addSpacing(12);
  buttons->addWidget(m_previewChanges);
  auto* content = new QVBoxLayout;
  content->addLayout(fileRow);
  content->addWidget(m_preview, 1);
  content->addLayout(options);
  auto* layout = new QGridLayout(this);
  layout->addWidget(picture, 0, 0, Qt::AlignTop);
  layout->addLayout(content, 0, 1);
  layout->addLayout(buttons, 1, 0, 1, 2);

  connect(m_browse, &QPushButton::clicked, this, &ImportDialog::browse);
  connect(m_next, &QPushButton::clicked, this, &ImportDialog::next);
  connect(m_back, &QPushButton::clicked, this, &ImportDialog::back);
  connect(m_finish, &QPushButton::clicked, this, &ImportDialog::finish);
  connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(m_previewChanges, &QPushButton::clicked, this, &ImportDialog::previewChanges);
  // A typed path is as good as a chosen one.
  connect(m_path, &QLineEdit::textChanged, this, [this](const QString& text) {
    if (!m_table) m_next->setEnabled(!text.trimmed().isEmpty());
  });
  showFirstPage();
}

ImportDialog::~ImportDialog() = default;

void ImportDialog::showFirstPage() {
  m_table.reset();
  m_model->show(nullptr);
  m_browse->setEnabled(true);
  m_path->setEnabled(true);
  m_next->setEnabled(!m_path->text().trimmed().isEmpty());
  m_back->setEnabled(false);
  m_finish->setEnabled(false);
  m_previewChanges->setEnabled(false);
  m_preview->setEnabled(false);
}

void ImportDialog::browse() {
  ui::FileRequest request;
  request.title = "Import from file";
  request.filters = {{"Tab delimited", {"*.txt"}}};
  request.defaultExtension = "TXT";
  request.initialPath = m_path->text().toStdString();
  if (auto path = m_ports.files.open(request)) {
    m_path->setText(QString::fromStdString(*path));
    m_next->setEnabled(true);
  }
}

void ImportDialog::next() {
  ImportFileResult file = readImportFile(m_path->text().trimmed().toStdString());
  if (!file.table) {
    m_ports.messages.ok(file.error, res::programTitle());
    showFirstPage();
    return;
  }
  m_table = std::move(file.table);
  m_model->show(&*m_table);
  m_browse->setEnabled(false);
  m_path->setEnabled(false);
  m_next->setEnabled(false);
  m_back->setEnabled(true);
  m_preview->setEnabled(true);
  m_finish->setEnabled(true);
  m_previewChanges->setEnabled(true);
  m_finish->setDefault(true);
}

void ImportDialog::back() { showFirstPage(); }

ImportOptions ImportDialog::chosenOptions() const {
  ImportOptions options;
  options.server = m_server;
  options.style = m_updateAll->isChecked() ? ImportStyle::UpdateAll : ImportStyle::OnlyAddNew;
  options.createHomes = m_createHomes->isChecked();
  options.logging = m_logging;
  return options;
}

void ImportDialog::previewChanges() {
  if (!m_table) return;
  ImportPreview preview;
  {
    ImportProgressDialog progress(this);
    progress.setWindowTitle(QStringLiteral("Previewing changes"));
    preview = previewImport(*m_table, chosenOptions(), &progress);
  }
  ImportPreviewDialog dialog(std::move(preview), this);
  m_ports.dialogs.run(dialog);
}

void ImportDialog::finish() {
  if (!m_table) return;
  const ImportOptions options = chosenOptions();
  m_finish->setEnabled(false);
  ImportSummary summary;
  {
    ImportProgressDialog progress(this);
    summary = runImport(*m_table, options, m_ports.messages, &progress);
  }
  m_finish->setEnabled(true);
  const auto changes = [](const ImportCounts& c) { return c.added + c.updated; };
  if (changes(summary.users) + changes(summary.groups) + summary.membersAdded > 0) m_changed = true;
  if (summary.kind != ImportKind::None) {
    ImportSummaryDialog dialog(summary, this);
    m_ports.dialogs.run(dialog);
  }
  const bool close = summary.closesWizard();
  m_summary = std::move(summary);
  if (close) accept();
}

}  // namespace transfer
