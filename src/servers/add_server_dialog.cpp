#include "servers/add_server_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace servers {

AddServerDialog::AddServerDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("AddServer"));
  setWindowTitle(QStringLiteral("Add server to browse list"));
  m_name = new QLineEdit(this);
  connect(m_name, &QLineEdit::textEdited, this, [this](const QString& text) {
    const int at = m_name->cursorPosition();
    m_name->setText(text.toUpper());
    m_name->setCursorPosition(at);
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(
      QStringLiteral("Please enter the entire UNC name of the server to add to the browse list."), this));
  layout->addWidget(m_name);
  layout->addWidget(new QLabel(
      QStringLiteral("NOTE: To add server ABC to the browse list, fill \\\\ABC in, and click OK."), this));
  layout->addWidget(buttons);
}

std::string AddServerDialog::name() const { return m_name->text().toUpper().toStdString(); }

}  // namespace servers
