#pragma once
// The pages of the sheet with more than check boxes: Files (its form and
// root path), Quotas (the quota service's numbers), Export and General.

#include <array>

#include "options/settings_page.h"

class QLineEdit;
class QRadioButton;

namespace settings::pages {

// The longest root path the store reads back, its final backslash included.
int rootPathMaxLength();

class CFilesPage final : public SettingsPage {
  Q_OBJECT
 public:
  explicit CFilesPage(QWidget* parent = nullptr);
  QString title() const override { return QStringLiteral("Files"); }
  void load(const SettingsValues& values) override;
  bool save(SettingsValues& values) override;
  std::optional<display::DisplayType> rebuilds() const override {
    return display::DisplayType::Files;
  }
  QRadioButton* formButton(int form) const { return m_forms.at(static_cast<std::size_t>(form)); }
  QLineEdit* rootPathEdit() const { return m_root; }

 private:
  std::array<QRadioButton*, 3> m_forms{};
  QLineEdit* m_root = nullptr;
};

class CQuotasPage final : public SettingsPage {
  Q_OBJECT
 public:
  CQuotasPage(ui::Messages& messages, QWidget* parent = nullptr);
  QString title() const override { return QStringLiteral("Quotas"); }
  void load(const SettingsValues& values) override;
  bool save(SettingsValues& values) override;
  QLineEdit* warningEdit() const { return m_warning; }
  QLineEdit* defaultSizeEdit() const { return m_defaultSize; }
  QLineEdit* checkRateEdit() const { return m_checkRate; }

 private:
  ui::Messages& m_messages;
  QLineEdit* m_warning = nullptr;
  QLineEdit* m_defaultSize = nullptr;
  QLineEdit* m_checkRate = nullptr;
};

class CExportPage final : public SettingsPage {
  Q_OBJECT
 public:
  explicit CExportPage(QWidget* parent = nullptr);
  QString title() const override { return QStringLiteral("Export"); }
  void load(const SettingsValues& values) override;
  bool save(SettingsValues& values) override;
  QRadioButton* typeButton(int type) const { return m_types.at(static_cast<std::size_t>(type)); }

 private:
  std::array<QRadioButton*, 3> m_types{};
  QCheckBox* m_datesAsInteger = nullptr;
};

class CGeneralPage final : public SettingsPage {
  Q_OBJECT
 public:
  explicit CGeneralPage(QWidget* parent = nullptr);
  QString title() const override { return QStringLiteral("General"); }
  void load(const SettingsValues& values) override;
  bool save(SettingsValues& values) override;
  QRadioButton* priorityButton(int p) const { return m_priorities.at(static_cast<std::size_t>(p)); }
  QRadioButton* loggingButton(int on) const { return m_logging.at(static_cast<std::size_t>(on)); }
  QCheckBox* alwaysBrowseBox() const { return m_always; }

 private:
  QCheckBox* m_always = nullptr;
  QCheckBox* m_bigButtons = nullptr;
  std::array<QRadioButton*, 5> m_priorities{};
  std::array<QRadioButton*, 2> m_logging{};
};

}  // namespace settings::pages
