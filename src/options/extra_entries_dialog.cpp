#include "options/extra_entries_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "platform/registry.h"
#include "resources/strings.h"
#include "settings/settings_store.h"
#include "ui/messages.h"

namespace settings::pages {

using namespace platform;

namespace {

std::string valueName(std::size_t index) { return "s_xtra" + std::to_string(index + 1); }

}  // namespace

ExtraEntriesDialog::ExtraEntriesDialog(ui::Messages& messages, QWidget* parent)
    : QDialog(parent), m_messages(messages) {
  setObjectName(QStringLiteral("ExtraEntries"));
  setWindowTitle(QStringLiteral("Extra server property entries"));
  auto* note = new QLabel(
      QStringLiteral("Use this table to enter extra registry entries that you wish to have read out "
                     "and displayed in the servers tab.\n\nNote that all of these MUST be sub-keys "
                     "of HKEY_LOCAL_MACHINE."),
      this);
  note->setWordWrap(true);
  auto* form = new QFormLayout;
  static const char* const kLabels[] = {"First entry:", "Second entry:", "Third entry:",
                                        "Fourth entry:", "Fifth entry:"};
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    m_edits[i] = new QLineEdit(this);
    m_edits[i]->setMaxLength(kExtraEntryChars);
    m_edits[i]->setMinimumWidth(360);
    form->addRow(QString::fromLatin1(kLabels[i]), m_edits[i]);
  }
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &ExtraEntriesDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(note);
  layout->addLayout(form);
  layout->addWidget(buttons);

  RegKey key;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, kProgramKey, 0, KEY_ALL_ACCESS, key.out(), nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    std::vector<std::uint8_t> buffer(kReadAreaBytes);
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueEx(key.get(), valueName(i), &type, buffer, &size) != ERROR_SUCCESS) continue;
    std::string text(buffer.begin(), buffer.begin() + std::min<std::size_t>(size, buffer.size()));
    if (const auto nul = text.find('\0'); nul != std::string::npos) text.resize(nul);
    m_edits[i]->setText(QString::fromStdString(text));
  }
}

void ExtraEntriesDialog::accept() {
  RegKey key;
  if (RegCreateKeyEx(HKEY_CURRENT_USER, kProgramKey, 0, KEY_ALL_ACCESS, key.out(), nullptr) !=
      ERROR_SUCCESS) {
    m_messages.ok("Could not write entries to registry.", res::programTitle());
    QDialog::accept();
    return;
  }
  for (std::size_t i = 0; i < m_edits.size(); ++i) {
    RegSetValueEx(key.get(), valueName(i), REG_SZ, regSzBytes(m_edits[i]->text().toStdString()));
  }
  QDialog::accept();
}

}  // namespace settings::pages
