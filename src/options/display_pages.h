#pragma once
// The pages of the sheet that choose a display's columns: Users, Groups,
// Servers and Networks. Each is its check boxes and its changed rule.

#include <functional>

#include "options/settings_page.h"

class QPushButton;

namespace settings::pages {

class CUserspage final : public SettingsPage {
  Q_OBJECT
 public:
  explicit CUserspage(QWidget* parent = nullptr);
  QString title() const override { return QStringLiteral("Users"); }
  void load(const SettingsValues& values) override { loadFlags(values); }
  bool save(SettingsValues& values) override;
  std::optional<display::DisplayType> rebuilds() const override {
    return display::DisplayType::Users;
  }
};

class groupspage final : public SettingsPage {
  Q_OBJECT
 public:
  explicit groupspage(QWidget* parent = nullptr);
  QString title() const override { return QStringLiteral("Groups"); }
  void load(const SettingsValues& values) override { loadFlags(values); }
  bool save(SettingsValues& values) override;
  std::optional<display::DisplayType> rebuilds() const override {
    return display::DisplayType::Groups;
  }
};

class CServerspage final : public SettingsPage {
  Q_OBJECT
 public:
  // `extraEntries` opens the extra server entries dialog; empty until that
  // dialog exists, when the button does nothing.
  explicit CServerspage(std::function<void()> extraEntries, QWidget* parent = nullptr);
  QString title() const override { return QStringLiteral("Servers"); }
  void load(const SettingsValues& values) override;
  bool save(SettingsValues& values) override;
  std::optional<display::DisplayType> rebuilds() const override {
    return display::DisplayType::Servers;
  }
  QPushButton* extraEntriesButton() const { return m_extra; }

 private:
  QPushButton* m_extra = nullptr;
  QCheckBox* m_showExtra = nullptr;
};

class CNetworks final : public SettingsPage {
  Q_OBJECT
 public:
  explicit CNetworks(QWidget* parent = nullptr);
  QString title() const override { return QStringLiteral("Networks"); }
  void load(const SettingsValues& values) override { loadFlags(values); }
  bool save(SettingsValues& values) override;
};

}  // namespace settings::pages
