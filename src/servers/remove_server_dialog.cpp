#include "servers/remove_server_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include "resources/strings.h"
#include "ui/messages.h"

namespace servers {

RemoveServerDialog::RemoveServerDialog(std::vector<std::string> servers, std::string pdc,
                                       ui::Messages& messages, QWidget* parent)
    : QDialog(parent), m_servers(std::move(servers)), m_pdc(std::move(pdc)), m_messages(messages) {
  setObjectName(QStringLiteral("RemoveServer"));
  setWindowTitle(QStringLiteral("Remove server from search list"));
  m_list = new QListWidget(this);
  // Every entry, however long the list: one left out could not be removed.
  for (const auto& s : m_servers) m_list->addItem(QString::fromStdString(s));
  m_remove = new QPushButton(QStringLiteral("&Remove"), this);
  m_remove->setEnabled(false);
  connect(m_list, &QListWidget::itemSelectionChanged, this, [this] { m_remove->setEnabled(true); });
  connect(m_remove, &QPushButton::clicked, this, &RemoveServerDialog::removeSelected);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &RemoveServerDialog::accept);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Servers:"), this));
  layout->addWidget(m_list, 1);
  layout->addWidget(m_remove, 0, Qt::AlignLeft);
  layout->addWidget(new QLabel(QStringLiteral("Note:\n--------\nIt is NOT possible to remove the PDC "
                                              "from the list.\nThe PDC is always available in the list."),
                               this));
  layout->addWidget(buttons);
}

void RemoveServerDialog::removeSelected() {
  QListWidgetItem* item = m_list->currentItem();
  if (!item) return;
  // Names are kept upper case in the list; the controller's may not be.
  if (!m_pdc.empty() && item->text().compare(QString::fromStdString(m_pdc), Qt::CaseInsensitive) == 0) {
    m_messages.ok("The PDC cannot be removed from\nthe list of server to browse.", res::programTitle());
    return;
  }
  delete m_list->takeItem(m_list->row(item));
}

void RemoveServerDialog::accept() {
  m_servers.clear();
  for (int i = 0; i < m_list->count(); ++i) m_servers.push_back(m_list->item(i)->text().toStdString());
  QDialog::accept();
}

}  // namespace servers
