#include "options/settings_sheet.h"

#include <QDialogButtonBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "options/display_pages.h"
#include "options/option_pages.h"
#include "session/display_traits.h"

namespace settings::pages {

using display::DisplayType;

SettingsSheet::SettingsSheet(const SettingsValues& values, int startPage, ui::Messages& messages,
                             std::function<void()> extraEntries, QWidget* parent)
    : QDialog(parent), m_values(values) {
  setObjectName(QStringLiteral("SettingsSheet"));
  setWindowTitle(QStringLiteral("Veltrane Settings"));
  m_pages = {new CFilesPage(this),
             new groupspage(this),
             new CNetworks(this),
             new CQuotasPage(messages, this),
             new CServerspage(std::move(extraEntries), this),
             new CUserspage(this),
             new CExportPage(this),
             new CGeneralPage(this)};
  m_tabs = new QTabWidget(this);
  // Every page's tab in sight: the sheet is as wide as its eight tabs.
  m_tabs->setUsesScrollButtons(false);
  for (SettingsPage* page : m_pages) {
    page->load(m_values);
    m_tabs->addTab(page, page->title());
  }
  m_current = std::clamp(startPage, 0, static_cast<int>(m_pages.size()) - 1);
  m_tabs->setCurrentIndex(m_current);
  // A page is checked when the user leaves it, and kept open when it refuses.
  connect(m_tabs, &QTabWidget::currentChanged, this, [this](int index) {
    if (index == m_current) return;
    SettingsValues probe = m_values;
    if (!m_pages[static_cast<std::size_t>(m_current)]->save(probe)) {
      m_tabs->setCurrentIndex(m_current);
      return;
    }
    m_current = index;
  });
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
  connect(buttons, &QDialogButtonBox::accepted, this, &SettingsSheet::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(m_tabs);
  layout->addWidget(buttons);
}

void SettingsSheet::accept() {
  SettingsValues saved = m_values;
  for (std::size_t i = 0; i < m_pages.size(); ++i) {
    if (!m_pages[i]->save(saved)) {
      m_current = static_cast<int>(i);
      m_tabs->setCurrentIndex(m_current);
      return;
    }
  }
  m_values = std::move(saved);
  QDialog::accept();
}

std::vector<DisplayType> SettingsSheet::changedDisplays() const {
  std::vector<DisplayType> types;
  for (const SettingsPage* page : m_pages)
    if (page->changed())
      if (auto type = page->rebuilds()) types.push_back(*type);
  return types;
}

int SettingsSheet::startPageOf(DisplayType type) { return display::traitsOf(type).settingsPage; }

}  // namespace settings::pages
