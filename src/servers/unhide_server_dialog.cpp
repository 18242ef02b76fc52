#include "servers/unhide_server_dialog.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/netapi.h"
#include "ui/messages.h"

namespace servers {

UnhideServerDialog::UnhideServerDialog(ui::Messages& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages) {
  setObjectName(QStringLiteral("UnhideServer"));
  setWindowTitle(QStringLiteral("Unhide Server"));
  m_name = new QLineEdit(this);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &UnhideServerDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("Please enter the entire UNC name of the server to unhide "
                                              "(for example \\\\ABC)."),
                               this));
  layout->addWidget(m_name);
  layout->addWidget(buttons);
}

void UnhideServerDialog::accept() {
  const std::string name = m_name->text().trimmed().toStdString();
  // No name would name this machine itself: ask for the server instead.
  if (name.empty()) {
    m_messages.ok("Please enter the name of the server to unhide.", "Veltrane",
                  ui::Icon::Warning);
    m_name->setFocus();
    return;
  }
  m_messages.ok(name, "Unhiding");
  platform::DWORD parm = 0;
  const auto status = platform::NetServerSetInfo(name, 1016, platform::SERVER_INFO_1016{0}, &parm);
  if (status != platform::NERR_Success) {
    m_messages.ok("Failed to unhide server.\n", "Veltrane", ui::Icon::Error);
  } else {
    m_messages.ok("Successful unhide of server.\n", "Veltrane", ui::Icon::Information);
  }
  QDialog::accept();
}

}  // namespace servers
