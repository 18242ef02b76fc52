#include "options/option_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <limits>

#include "settings/settings_store.h"

namespace settings::pages {

using V = SettingsValues;

namespace {

constexpr std::array<FlagBox, 6> kFilesBoxes = {{
    {"&User Name", &V::f_user_name, true, false},
    {"&Storage in use", &V::f_storage, true, false},
    {"Filesi&ze in use", &V::f_files_in_use, true, false},
    {"&File denials", &V::f_file_denial, false, false},
    {"&Directory Denials", &V::f_directory_denial, false, false},
    {"D&irectories only (Simple rights dump)", &V::f_directories_only, false, false},
}};

// The check rate is held in seconds and stored in milliseconds in 32 bits.
constexpr std::uint64_t kMaxCheckRate = std::numeric_limits<Word>::max() / 1000;

// Radio buttons in a titled group, numbered from 0 in order.
template <std::size_t N>
std::array<QRadioButton*, N> radioGroup(QWidget* owner, QVBoxLayout* layout, const char* caption,
                                        const std::array<const char*, N>& labels) {
  auto* group = new QGroupBox(QString::fromUtf8(caption), owner);
  auto* inner = new QVBoxLayout(group);
  std::array<QRadioButton*, N> buttons{};
  for (std::size_t i = 0; i < N; ++i) {
    buttons[i] = new QRadioButton(QString::fromUtf8(labels[i]), group);
    inner->addWidget(buttons[i]);
  }
  layout->addWidget(group);
  return buttons;
}

template <std::size_t N>
void checkIndex(const std::array<QRadioButton*, N>& buttons, Word index) {
  for (std::size_t i = 0; i < N; ++i) buttons[i]->setChecked(i == index);
}

// The checked button's index; `keep` when none is checked (a stored value
// the page has no button for stays as it is).
template <std::size_t N>
Word checkedIndex(const std::array<QRadioButton*, N>& buttons, Word keep) {
  for (std::size_t i = 0; i < N; ++i)
    if (buttons[i]->isChecked()) return static_cast<Word>(i);
  return keep;
}

}  // namespace

int rootPathMaxLength() { return static_cast<int>(kReadAreaBytes) - 1; }

CFilesPage::CFilesPage(QWidget* parent) : SettingsPage(parent) {
  auto* layout = new QVBoxLayout(this);
  addFlagGroup(layout, "Display Options", kFilesBoxes, 2);
  m_forms = radioGroup<3>(
      this, layout, "Display Type",
      {"Files in use (size per user)", "Directory Access rights", "&S&imple rights dump"});
  for (QRadioButton* b : m_forms)
    connect(b, &QRadioButton::clicked, this, [this] { markChanged(); });
  auto* form = new QFormLayout;
  m_root = new QLineEdit(this);
  m_root->setObjectName(QStringLiteral("Root path"));
  // One character is kept for the backslash OK appends.
  m_root->setMaxLength(rootPathMaxLength() - 1);
  form->addRow(QStringLiteral("Root path"), m_root);
  layout->addLayout(form);
  auto* browse = new QPushButton(QStringLiteral("&Browse"), this);
  browse->hide();
  addGrayedNote(layout);
  addHelp(layout,
          "The Root path indicates from which directory the search should commence. The Root "
          "path can either be an absolute path, or UNC can be used instead.");
}

void CFilesPage::load(const SettingsValues& values) {
  loadFlags(values);
  checkIndex(m_forms, values.f_display_type);
  m_root->setText(QString::fromStdString(values.f_root_path));
}

bool CFilesPage::save(SettingsValues& values) {
  saveFlags(values);
  values.f_display_type = checkedIndex(m_forms, values.f_display_type);
  values.f_root_path = m_root->text().toStdString();
  return true;
}

CQuotasPage::CQuotasPage(ui::Messages& messages, QWidget* parent)
    : SettingsPage(parent), m_messages(messages) {
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("Options (Quotas)"), this);
  auto* form = new QFormLayout(group);
  m_warning = new QLineEdit(group);
  m_defaultSize = new QLineEdit(group);
  m_checkRate = new QLineEdit(group);
  form->addRow(QStringLiteral("Warning percentage"), m_warning);
  form->addRow(QStringLiteral("Default Quota Size"), m_defaultSize);
  form->addRow(QStringLiteral("Quota check rate (sec)"), m_checkRate);
  layout->addWidget(group);
  addHelp(layout,
          "The quota service warns at the warning percentage and checks the directories at the "
          "check rate; new quotas are offered the default size.");
}

void CQuotasPage::load(const SettingsValues& values) {
  m_warning->setText(QString::number(values.WarningLevel));
  m_defaultSize->setText(QString::number(values.q_default_quota_size));
  m_checkRate->setText(QString::number(values.SleepTime));
}

bool CQuotasPage::save(SettingsValues& values) {
  Word warning = 0;
  Word size = 0;
  Word rate = 0;
  if (!readNumber(m_warning->text(), 1, 99, m_messages, &warning)) {
    m_warning->setFocus();
    return false;
  }
  if (!readNumber(m_defaultSize->text(), 0, std::numeric_limits<Word>::max(), m_messages, &size)) {
    m_defaultSize->setFocus();
    return false;
  }
  if (!readNumber(m_checkRate->text(), 0, kMaxCheckRate, m_messages, &rate)) {
    m_checkRate->setFocus();
    return false;
  }
  values.WarningLevel = warning;
  values.q_default_quota_size = size;
  values.SleepTime = rate;
  return true;
}

CExportPage::CExportPage(QWidget* parent) : SettingsPage(parent) {
  auto* layout = new QVBoxLayout(this);
  m_types = radioGroup<3>(
      this, layout, "Export Options",
      {"&TAB-delimited (*.txt files)", "&Comma-Separated (*.csv files)",
       // What the export writes: an SQLite database file.
       "&SQLite database (*.db files)"});
  m_datesAsInteger = new QCheckBox(QStringLiteral("&Export dates as integer"), this);
  layout->addWidget(m_datesAsInteger);
  addHelp(layout, "The format File > Export writes, and how it writes dates.");
}

void CExportPage::load(const SettingsValues& values) {
  checkIndex(m_types, values.x_export_type);
  m_datesAsInteger->setChecked(values.x_date_as_integer == 1);
}

bool CExportPage::save(SettingsValues& values) {
  values.x_export_type = checkedIndex(m_types, values.x_export_type);
  values.x_date_as_integer = m_datesAsInteger->isChecked() ? 1 : 0;
  return true;
}

CGeneralPage::CGeneralPage(QWidget* parent) : SettingsPage(parent) {
  auto* layout = new QVBoxLayout(this);
  auto* group = new QGroupBox(QStringLiteral("General Options"), this);
  auto* inner = new QVBoxLayout(group);
  m_always = new QCheckBox(QStringLiteral("Al&ways Browse"), group);
  inner->addWidget(m_always);
  auto* row = new QHBoxLayout;
  auto* priorities = new QVBoxLayout;
  m_priorities =
      radioGroup<5>(group, priorities, "Browse Priority",
                    {"&Lowest", "&Below Normal", "&Normal", "&Above Normal", "&Highest"});
  row->addLayout(priorities);
  auto* warning = new QLabel(
      QStringLiteral("Use priorities above normal carefully, as these may SERIOUSLY effect the "
                     "performance of the server being browsed."),
      group);
  warning->setWordWrap(true);
  row->addWidget(warning);
  inner->addLayout(row);
  m_logging =
      radioGroup<2>(group, inner, "Event logging", {"&Disable logging", "&Enable loggging"});
  // The toolbar has one button size here.
  m_bigButtons = new QCheckBox(QStringLiteral("Large b&uttons"), group);
  m_bigButtons->hide();
  inner->addWidget(m_bigButtons);
  layout->addWidget(group);
  addHelp(layout, "How browses run, and whether changes are reported to the event log.");
}

void CGeneralPage::load(const SettingsValues& values) {
  m_always->setChecked(values.always_browse == 1);
  checkIndex(m_priorities, values.browse_priority);
  checkIndex(m_logging, values.e_logging_onoff);
  m_bigButtons->setChecked(values.big_buttons == 1);
}

bool CGeneralPage::save(SettingsValues& values) {
  values.always_browse = m_always->isChecked() ? 1 : 0;
  values.browse_priority = checkedIndex(m_priorities, values.browse_priority);
  values.e_logging_onoff = checkedIndex(m_logging, values.e_logging_onoff);
  values.big_buttons = m_bigButtons->isChecked() ? 1 : 0;
  return true;
}

}  // namespace settings::pages
