#include "options/settings_page.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

#include "resources/strings.h"
#include "ui/messages.h"

namespace settings::pages {

QGroupBox* SettingsPage::addFlagGroup(QVBoxLayout* layout, const char* caption,
                                      std::span<const FlagBox> boxes, int columns) {
  auto* group = new QGroupBox(QString::fromUtf8(caption), this);
  auto* grid = new QGridLayout(group);
  const int perColumn = (static_cast<int>(boxes.size()) + columns - 1) / columns;
  int i = 0;
  for (const FlagBox& flagBox : boxes) {
    auto* box = new QCheckBox(QString::fromUtf8(flagBox.label), group);
    box->setObjectName(QString::fromUtf8(flagBox.label).remove(QLatin1Char('&')));
    box->setEnabled(!flagBox.grayed);
    if (flagBox.setsChanged) connect(box, &QCheckBox::clicked, this, [this] { markChanged(); });
    grid->addWidget(box, i % perColumn, i / perColumn);
    m_flags.push_back({box, flagBox.flag});
    ++i;
  }
  layout->addWidget(group);
  return group;
}

void SettingsPage::loadFlags(const SettingsValues& values) {
  for (const Bound& b : m_flags) b.box->setChecked(values.*b.flag == 1);
}

void SettingsPage::saveFlags(SettingsValues& values) const {
  for (const Bound& b : m_flags) values.*b.flag = b.box->isChecked() ? 1 : 0;
}

void SettingsPage::addGrayedNote(QVBoxLayout* layout) {
  auto* note = new QLabel(
      QStringLiteral("Grayed options are automatically added to the view output, and cannot be "
                     "unchecked."),
      this);
  note->setWordWrap(true);
  layout->addWidget(note);
}

void SettingsPage::addHelp(QVBoxLayout* layout, const char* text) {
  layout->addStretch(1);
  auto* help = new QLabel(QString::fromUtf8(text), this);
  help->setObjectName(QStringLiteral("help"));
  help->setWordWrap(true);
  layout->addWidget(help);
}

bool readNumber(const QString& text, std::uint64_t low, std::uint64_t high, ui::Messages& messages,
                Word* out) {
  bool number = false;
  const qulonglong value = text.trimmed().toULongLong(&number);
  if (!number || value < low || value > high) {
    messages.ok("Please enter an integer between " + std::to_string(low) + " and " +
                    std::to_string(high) + ".",
                res::programTitle(), ui::Icon::Warning);
    return false;
  }
  *out = static_cast<Word>(value);
  return true;
}

}  // namespace settings::pages
