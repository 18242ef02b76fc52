#include "app/logon_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <string.h>

namespace app {
namespace {

QString q(const std::string& text) { return QString::fromStdString(text); }

// QString's buffer is overwritten in place before it is dropped.
void wipe(QString& text) {
  if (!text.isEmpty()) ::explicit_bzero(text.data(), static_cast<size_t>(text.size()) * sizeof(QChar));
  text.clear();
}

}  // namespace

QString logonPromptText(const ui::LogonFields& offered) {
  std::string_view name = offered.server;
  while (name.starts_with('\\')) name.remove_prefix(1);
  const QString server = name.empty() ? QStringLiteral("the domain controller")
                                      : QStringLiteral("\\\\") + q(std::string(name));
  if (offered.refused)
    return QStringLiteral("%1 refused the user name or password.\nType them again.").arg(server);
  return QStringLiteral("Type the user name and password to act as on %1.").arg(server);
}

LogonDialog::LogonDialog(const ui::LogonFields& offered, QWidget* parent)
    : QDialog(parent), m_offered(offered) {
  m_offered.password.clear();
  setObjectName(QStringLiteral("logonDialog"));
  setWindowTitle(QStringLiteral("Log On"));
  m_prompt = new QLabel(logonPromptText(offered), this);
  m_prompt->setWordWrap(true);
  m_user = new QLineEdit(q(offered.user), this);
  m_password = new QLineEdit(this);
  m_password->setEchoMode(QLineEdit::Password);
  m_domain = new QLineEdit(q(offered.domain), this);
  auto* form = new QFormLayout;
  auto addRow = [&](const char* text, QLineEdit* edit) {
    auto* label = new QLabel(QString::fromUtf8(text), this);
    label->setBuddy(edit);
    form->addRow(label, edit);
  };
  addRow("&User name:", m_user);
  addRow("&Password:", m_password);
  addRow("&Domain:", m_domain);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  m_ok = buttons->button(QDialogButtonBox::Ok);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  connect(m_user, &QLineEdit::textChanged, this, &LogonDialog::updateOk);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_prompt);
  layout->addLayout(form);
  layout->addWidget(buttons);
  setMinimumWidth(360);
  // The account is known when it was refused: the password is what to type.
  (offered.user.empty() ? m_user : m_password)->setFocus();
  updateOk();
}

LogonDialog::~LogonDialog() { clearPassword(); }

void LogonDialog::updateOk() { m_ok->setEnabled(!m_user->text().trimmed().isEmpty()); }

ui::LogonFields LogonDialog::fields() const {
  ui::LogonFields out = m_offered;
  QString user = m_user->text().trimmed();
  // "DOMAIN\user" names the domain as well, as Samba's tools take it.
  QString domain = m_domain->text().trimmed();
  if (const auto slash = user.indexOf(QLatin1Char('\\')); slash >= 0) {
    if (domain.isEmpty() || slash > 0) domain = user.left(slash);
    user = user.mid(slash + 1);
  }
  out.user = user.toStdString();
  out.domain = domain.toUpper().toStdString();
  return out;
}

void LogonDialog::takePassword(ui::LogonFields* fields) {
  QString text = m_password->text();
  QByteArray bytes = text.toUtf8();
  fields->password.assign(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  ::explicit_bzero(bytes.data(), static_cast<size_t>(bytes.size()));
  wipe(text);
  clearPassword();
}

void LogonDialog::clearPassword() {
  // Overwrites the widget's text before clearing it (undo off, so the
  // edit keeps no history of it).
  m_password->setText(QString(m_password->text().size(), QLatin1Char(' ')));
  m_password->clear();
}

}  // namespace app
