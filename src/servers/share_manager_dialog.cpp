#include "servers/share_manager_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "resources/strings.h"
#include "servers/share_edit_dialog.h"
#include "ui/dialog_runner.h"
#include "ui/messages.h"

namespace servers {

using namespace platform;

namespace {

QString q(const std::string& s) { return QString::fromStdString(s); }

QString limitText(DWORD maxUses) {
  return maxUses == SHI_USES_UNLIMITED ? QStringLiteral("Maximum allowed") : QString::number(maxUses);
}

}  // namespace

ShareManagerDialog::ShareManagerDialog(std::string server, ui::Messages& messages,
                                       ui::DialogRunner& dialogs, QWidget* parent)
    : QDialog(parent), m_server(std::move(server)), m_messages(messages), m_dialogs(dialogs) {
  setObjectName(QStringLiteral("ShareManager"));
  setWindowTitle(q("Shared Directories on " + m_server));
  m_list = new QTreeWidget(this);
  m_list->setRootIsDecorated(false);
  m_list->setHeaderLabels({QStringLiteral("Share name"), QStringLiteral("Path"),
                           QStringLiteral("Comment"), QStringLiteral("User limit")});
  m_list->setColumnWidth(0, 120);
  m_list->setColumnWidth(1, 200);
  m_list->setColumnWidth(2, 200);
  auto* add = new QPushButton(QStringLiteral("&New Share..."), this);
  m_edit = new QPushButton(QStringLiteral("&Properties..."), this);
  m_stop = new QPushButton(QStringLiteral("&Stop Sharing"), this);
  m_edit->setEnabled(false);
  m_stop->setEnabled(false);
  connect(m_list, &QTreeWidget::itemSelectionChanged, this, [this] {
    m_edit->setEnabled(selected() != nullptr);
    m_stop->setEnabled(selected() != nullptr);
  });
  connect(m_list, &QTreeWidget::itemDoubleClicked, this, &ShareManagerDialog::editSelected);
  connect(add, &QPushButton::clicked, this, &ShareManagerDialog::newShare);
  connect(m_edit, &QPushButton::clicked, this, &ShareManagerDialog::editSelected);
  connect(m_stop, &QPushButton::clicked, this, &ShareManagerDialog::stopSharing);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::accept);
  auto* side = new QVBoxLayout;
  side->addWidget(add);
  side->addWidget(m_edit);
  side->addWidget(m_stop);
  side->addStretch();
  side->addWidget(buttons);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(m_list, 1);
  layout->addLayout(side);
  resize(720, 360);
}

bool ShareManagerDialog::load() {
  std::vector<SHARE_INFO_2> shares;
  DWORD resume = 0;
  for (;;) {
    NetBuffer buf;
    DWORD read = 0;
    DWORD total = 0;
    const DWORD st = NetShareEnum(m_server, 2, buf, MAX_PREFERRED_LENGTH, &read, &total, &resume);
    if (st != NERR_Success && st != ERROR_MORE_DATA) {
      m_messages.ok("The shares of " + m_server + " could not be read.\nError number : " +
                        std::to_string(st),
                    res::programTitle(), ui::Icon::Error);
      return false;
    }
    auto page = buf.get<SHARE_INFO_2>();
    shares.insert(shares.end(), page.begin(), page.end());
    if (st == NERR_Success || (page.empty() && resume == 0)) break;
  }
  m_shares = std::move(shares);
  m_list->clear();
  for (const auto& s : m_shares) {
    m_list->addTopLevelItem(new QTreeWidgetItem(
        {q(s.shi2_netname), q(s.shi2_path), q(s.shi2_remark), limitText(s.shi2_max_uses)}));
  }
  return true;
}

const SHARE_INFO_2* ShareManagerDialog::selected() const {
  const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
  if (row < 0 || static_cast<std::size_t>(row) >= m_shares.size()) return nullptr;
  return &m_shares[static_cast<std::size_t>(row)];
}

void ShareManagerDialog::fail(const std::string& what, DWORD status, DWORD parm) {
  std::string text = what + "\nError number : " + std::to_string(status);
  static const char* const kFields[] = {"", "the share name", "", "the type", "the comment", "",
                                        "the user limit", "", "the path"};
  if (status == ERROR_INVALID_PARAMETER && parm < std::size(kFields) && *kFields[parm]) {
    text += "\nThe server refused " + std::string(kFields[parm]) + ".";
  } else if (status == NERR_DuplicateShare) {
    text += "\nThe server has a share of that name already.";
  } else if (status == NERR_UnknownDevDir) {
    text += "\nThe server has no such drive or folder.";
  } else if (status == ERROR_ACCESS_DENIED) {
    text += "\nAccess is denied.";
  }
  m_messages.ok(text, res::programTitle(), ui::Icon::Error);
}

void ShareManagerDialog::newShare() {
  // A refused share keeps the dialog open with what was typed.
  ShareEditDialog edit(ShareFields{}, false, m_messages, this, [this](const ShareFields& f) {
    DWORD parm = 0;
    const DWORD st = NetShareAdd(
        m_server, 2, SHARE_INFO_2{f.name, STYPE_DISKTREE, f.remark, 0, f.maxUses, 0, f.path, {}},
        &parm);
    if (st != NERR_Success) fail("The share " + f.name + " could not be created.", st, parm);
    return st == NERR_Success;
  });
  if (m_dialogs.run(edit) != QDialog::Accepted) return;
  load();
}

void ShareManagerDialog::editSelected() {
  const SHARE_INFO_2* s = selected();
  if (!s) return;
  ShareFields fields{s->shi2_netname, s->shi2_path, s->shi2_remark, s->shi2_max_uses, s->shi2_type};
  ShareEditDialog edit(fields, true, m_messages, this, [this](const ShareFields& f) {
    DWORD parm = 0;
    const DWORD st = NetShareSetInfo(
        m_server, f.name, 2, SHARE_INFO_2{f.name, f.type, f.remark, 0, f.maxUses, 0, f.path, {}},
        &parm);
    if (st != NERR_Success) fail("The share " + f.name + " could not be changed.", st, parm);
    return st == NERR_Success;
  });
  if (m_dialogs.run(edit) != QDialog::Accepted) return;
  load();
}

void ShareManagerDialog::stopSharing() {
  const SHARE_INFO_2* s = selected();
  if (!s) return;
  const std::string name = s->shi2_netname;
  const ui::Answer answer = m_messages.show(ui::Message{
      "Stop sharing " + name + " on " + m_server + "?\nUsers connected to it will lose their connection.",
      res::programTitle(), ui::Buttons::YesNo, ui::Icon::Question, ui::Answer::No});
  if (answer != ui::Answer::Yes) return;
  const DWORD st = NetShareDel(m_server, name, 0);
  if (st != NERR_Success) fail("Sharing of " + name + " could not be stopped.", st, 0);
  load();
}

}  // namespace servers
