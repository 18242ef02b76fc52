#pragma once
// A FillHost for tests: real views, per-display texts in a map, and a record
// of what the fill asked of the window.

#include <QTableView>
#include <QTreeWidget>

#include <map>
#include <memory>

#include "display/fill_host.h"
#include "qt_app.h"
#include "ui/scripted_messages.h"

namespace display_test {

class RecordingHost final : public display::FillHost {
 public:
  RecordingHost() {
    qtApp();
    for (display::DisplayType t : display::kAllDisplayTypes) {
      if (t == display::DisplayType::Network || t == display::DisplayType::Performance) {
        m_trees[t] = std::make_unique<QTreeWidget>();
      } else {
        m_lists[t] = std::make_unique<QTableView>();
      }
    }
    m_trees[display::DisplayType::Files] = std::make_unique<QTreeWidget>();
  }

  display::DisplayType currentDisplayType() const override { return current; }
  const settings::SettingsValues& settingsValues() const override { return settings; }
  QTableView* listView(display::DisplayType type) override {
    auto it = m_lists.find(type);
    return it == m_lists.end() ? nullptr : it->second.get();
  }
  QTreeWidget* treeView(display::DisplayType type) override {
    auto it = m_trees.find(type);
    return it == m_trees.end() ? nullptr : it->second.get();
  }
  void setDisplayTexts(display::DisplayType type, display::DisplayTexts texts) override {
    m_texts[type] = std::move(texts);
  }
  display::DisplayTexts displayTexts(display::DisplayType type) const override {
    auto it = m_texts.find(type);
    return it == m_texts.end() ? display::DisplayTexts{} : it->second;
  }
  void showStatusTexts(const display::DisplayTexts& texts) override { status = texts; }
  void showStatusNote(std::string_view text) override { note = text; }
  void endBusy() override { ++endBusyCalls; }
  bool enableFirstEditItem() override {
    ++enableEditCalls;
    return editMenuReachable;
  }
  ui::Messages& messages() override { return scripted; }

  display::DisplayType current = display::DisplayType::Users;
  settings::SettingsValues settings;
  display::DisplayTexts status;
  std::string note;
  int endBusyCalls = 0;
  int enableEditCalls = 0;
  bool editMenuReachable = true;
  ui::ScriptedMessages scripted;

 private:
  std::map<display::DisplayType, std::unique_ptr<QTableView>> m_lists;
  std::map<display::DisplayType, std::unique_ptr<QTreeWidget>> m_trees;
  std::map<display::DisplayType, display::DisplayTexts> m_texts;
};

}  // namespace display_test
