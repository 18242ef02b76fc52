#include "groups/select_global_group_dialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "groups/domain_groups.h"
#include "groups/group_edit.h"
#include "resources/strings.h"
#include "ui/messages.h"

namespace groups {
namespace {

constexpr unsigned kStrNoDomainController = 59270;
constexpr unsigned kStrTitleCaption = 59251;
constexpr unsigned kStrFastQueryFailed = 59352;

QString q(const std::string& text) { return QString::fromStdString(text); }

// Sorted as the combo shows them, each name once.
std::vector<std::string> sortedDomains() {
  std::vector<std::string> names = networkDomainNames();
  const auto less = [](const std::string& a, const std::string& b) {
    return QString::compare(q(a), q(b), Qt::CaseInsensitive) < 0;
  };
  std::sort(names.begin(), names.end(), less);
  names.erase(std::unique(names.begin(), names.end(),
                          [](const std::string& a, const std::string& b) { return sameName(a, b); }),
              names.end());
  return names;
}

}  // namespace

SelectGlobalGroupDialog::SelectGlobalGroupDialog(std::string server, ui::Messages& messages,
                                                 QWidget* parent)
    : QDialog(parent), m_server(std::move(server)), m_messages(messages) {
  setObjectName(QStringLiteral("SelectGlobalGroup"));
  setWindowTitle(QStringLiteral("Select Global group to add to local group"));
  m_domains = new QComboBox(this);
  m_domains->setObjectName(QStringLiteral("domains"));
  m_groups = new QListWidget(this);
  m_groups->setObjectName(QStringLiteral("groups"));
  m_groups->setSelectionMode(QAbstractItemView::SingleSelection);
  m_groups->setSortingEnabled(true);
  auto* label = new QLabel(QStringLiteral("Select groups from:"), this);
  label->setBuddy(m_domains);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SelectGlobalGroupDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(m_domains);
  layout->addWidget(m_groups);
  layout->addWidget(buttons);

  platform::NET_API_STATUS status = 0;
  const std::string local = localDomain(&status);
  if (status != platform::NERR_Success) {
    m_messages.ok(res::str(kStrNoDomainController), res::str(kStrTitleCaption));
    return;
  }
  // The server's groups are those of its own account database, which need
  // not be the local machine's domain the combo starts on.
  std::string listed = serverDomain(m_server);
  fill(m_server, listed.empty() ? local : listed);
  for (const std::string& name : sortedDomains()) m_domains->addItem(q(name));
  m_domains->setCurrentIndex(m_domains->findText(q(local), Qt::MatchFixedString));
  // Only the user's choice refills; choosing the shown domain again reads it afresh.
  connect(m_domains, &QComboBox::textActivated, this,
          [this](const QString& domain) { domainChosen(domain.toStdString()); });
  m_opened = true;
}

void SelectGlobalGroupDialog::fill(std::string_view source, const std::string& domain) {
  m_groups->clear();
  m_listDomain.clear();
  const GroupNames groups = displayGroupNames(source);
  if (groups.status != platform::NERR_Success) {
    m_messages.ok(res::str(kStrFastQueryFailed), "Error");
    return;
  }
  QStringList names;
  for (const std::string& name : groups.names) names.push_back(q(name));
  m_groups->addItems(names);
  m_listDomain = domain;
}

void SelectGlobalGroupDialog::domainChosen(const std::string& domain) {
  std::string controller;
  if (platform::NetGetDCName(m_server, domain, &controller) != platform::NERR_Success) {
    m_groups->clear();
    m_listDomain.clear();
    m_messages.ok(res::str(kStrFastQueryFailed), "Error");
    return;
  }
  fill(controller, domain);
}

void SelectGlobalGroupDialog::accept() {
  const auto selected = m_groups->selectedItems();
  if (selected.isEmpty() || m_listDomain.empty()) {
    reject();
    return;
  }
  m_chosen = m_listDomain + "\\" + selected.front()->text().toStdString();
  QDialog::accept();
}

}  // namespace groups
