#pragma once
// The settings sheet, "Veltrane Settings": the eight pages over a copy of
// the settings. Nothing reaches the window's settings before OK.

#include <QDialog>
#include <functional>
#include <vector>

#include "options/settings_page.h"

class QTabWidget;

namespace settings::pages {

class SettingsSheet final : public QDialog {
  Q_OBJECT
 public:
  SettingsSheet(const SettingsValues& values, int startPage, ui::Messages& messages,
                std::function<void()> extraEntries = {}, QWidget* parent = nullptr);

  // The settings as the pages left them (valid after OK).
  const SettingsValues& values() const { return m_values; }
  // The displays whose pages' changed flags are set.
  std::vector<display::DisplayType> changedDisplays() const;

  // The OK step: every page saves its part; a page that refuses a value is
  // shown and the sheet stays open.
  void accept() override;

  QTabWidget* tabs() const { return m_tabs; }
  template <class Page>
  Page* page() const {
    for (SettingsPage* p : m_pages)
      if (auto* typed = qobject_cast<Page*>(p)) return typed;
    return nullptr;
  }

  // The page a display type opens the sheet at.
  static int startPageOf(display::DisplayType type);

 private:
  SettingsValues m_values;
  std::vector<SettingsPage*> m_pages;
  QTabWidget* m_tabs = nullptr;
  int m_current = 0;
};

}  // namespace settings::pages
