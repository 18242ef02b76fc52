#include "groups/select_group_dialog.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "groups/group_edit.h"
#include "platform/netapi.h"

namespace groups {
namespace {

using namespace platform;

constexpr DWORD kPageBytes = 5000;

// Every page: a domain with many groups must not lose the later ones.
std::vector<std::string> globalGroups(const std::string& server) {
  std::vector<std::string> names;
  DWORD resume = 0;
  for (;;) {
    NetBuffer buffer;
    DWORD read = 0;
    DWORD total = 0;
    const NET_API_STATUS status = NetGroupEnum(server, 0, buffer, kPageBytes, &read, &total, &resume);
    if (status != NERR_Success && status != ERROR_MORE_DATA) break;
    const auto page = buffer.get<GROUP_INFO_0>();
    for (const GROUP_INFO_0& group : page) names.push_back(group.grpi0_name);
    if (status == NERR_Success || page.empty()) break;
  }
  return names;
}

}  // namespace

SelectGroupDialog::SelectGroupDialog(const std::string& server, const std::string& excluded,
                                     QWidget* parent)
    : QDialog(parent) {
  setObjectName(QStringLiteral("SelectGroup"));
  setWindowTitle(QStringLiteral("Select Group"));
  m_list = new QListWidget(this);
  m_list->setObjectName(QStringLiteral("groups"));
  m_list->setSelectionMode(QAbstractItemView::SingleSelection);
  m_list->setSortingEnabled(true);
  for (const std::string& name : globalGroups(server))
    if (!sameName(name, excluded)) m_list->addItem(QString::fromStdString(name));
  connect(m_list, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SelectGroupDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_list);
  layout->addWidget(buttons);
}

void SelectGroupDialog::accept() {
  const auto selected = m_list->selectedItems();
  if (selected.isEmpty()) {
    reject();
    return;
  }
  m_chosen = selected.front()->text().toStdString();
  QDialog::accept();
}

}  // namespace groups
