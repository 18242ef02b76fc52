#include "display/search_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/messages.h"

namespace display {

SearchDialog::SearchDialog(const Texts& texts, SearchFields fields,
                           const std::vector<std::string>& columns, ui::Messages& messages,
                           QWidget* parent)
    : QDialog(parent), m_fields(std::move(fields)), m_messages(messages) {
  setObjectName(QString::fromUtf8(texts.objectName));
  setWindowTitle(QString::fromUtf8(texts.title));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  m_text = new QLineEdit(this);
  m_text->setObjectName(QStringLiteral("1294"));
  m_text->setMinimumWidth(260);
  form->addRow(QString::fromUtf8(texts.textLabel), m_text);
  layout->addLayout(form);
  auto box = [&](const char* id, const char* label) {
    auto* check = new QCheckBox(QString::fromUtf8(label), this);
    check->setObjectName(QString::fromUtf8(id));
    layout->addWidget(check);
    return check;
  };
  if (texts.startFromTop) m_fromTop = box("1295", "&Start from top");
  m_entire = box("1297", "Match &Entire string");
  m_allColumns = box("1298", texts.allColumnsLabel);
  m_matchCase = box("1299", "&Match case");
  m_columns = new QListWidget(this);
  m_columns->setObjectName(QStringLiteral("1300"));
  m_columns->setMinimumHeight(120);
  for (const std::string& title : columns) m_columns->addItem(QString::fromStdString(title));
  layout->addWidget(m_columns);
  if (texts.note != nullptr) {
    auto* note = new QLabel(QString::fromUtf8(texts.note), this);
    note->setWordWrap(true);
    layout->addWidget(note);
  }
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QString::fromUtf8(texts.okLabel), QDialogButtonBox::AcceptRole)
      ->setDefault(true);
  buttons->addButton(QDialogButtonBox::Cancel);
  connect(buttons, &QDialogButtonBox::accepted, this, &SearchDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  layout->addWidget(buttons);
  // The column list only matters while the search is not over every column.
  connect(m_allColumns, &QCheckBox::toggled, m_columns,
          [this](bool all) { m_columns->setVisible(!all); });
  exchange(false);
}

bool SearchDialog::exchange(bool save) {
  if (!save) {
    m_text->setText(QString::fromStdString(m_fields.text));
    if (m_fromTop) m_fromTop->setChecked(m_fields.startFromTop);
    m_entire->setChecked(m_fields.entireString);
    m_allColumns->setChecked(m_fields.allColumns);
    m_matchCase->setChecked(m_fields.matchCase);
    m_columns->setVisible(!m_fields.allColumns);
    if (m_fields.column >= 0) m_columns->setCurrentRow(m_fields.column);
    return true;
  }
  const bool all = m_allColumns->isChecked();
  const QList<QListWidgetItem*> selected = m_columns->selectedItems();
  const int column = selected.isEmpty() ? -1 : m_columns->row(selected.front());
  if (!all && column < 0) {
    m_messages.ok("You must select any or all\nof the columns to search in.", "Warning",
                  ui::Icon::Warning);
    return false;
  }
  m_fields.text = m_text->text().toStdString();
  m_fields.startFromTop = m_fromTop != nullptr && m_fromTop->isChecked();
  m_fields.entireString = m_entire->isChecked();
  m_fields.allColumns = all;
  m_fields.matchCase = m_matchCase->isChecked();
  m_fields.column = all ? -1 : column;
  return true;
}

void SearchDialog::accept() {
  if (exchange(true)) QDialog::accept();
}

FindDialog::FindDialog(SearchFields fields, const std::vector<std::string>& columns,
                       ui::Messages& messages, QWidget* parent)
    : SearchDialog({"dialog223", "Find in current window", "&Find What :", "Search &all columns",
                    "&Find Next", nullptr, true},
                   std::move(fields), columns, messages, parent) {}

FilterDialog::FilterDialog(SearchFields fields, const std::vector<std::string>& columns,
                           ui::Messages& messages, QWidget* parent)
    : SearchDialog(
          {"dialog224", "Filter in current window", "&Filter with :", "Filter on &all columns",
           "&Apply filter",
           "Enter a blank string to reset the filter and display all records again.", false},
          std::move(fields), columns, messages, parent) {}

}  // namespace display
