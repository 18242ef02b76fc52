#pragma once
// One page of the settings sheet. A page edits the sheet's copy of the
// settings: it loads its part into its widgets, checks and saves it back on
// OK (or when the user leaves the page), and says whether its own controls
// changed what a display's columns are built from.

#include <QWidget>
#include <optional>
#include <span>

#include "window/display_type.h"
#include "settings/settings_values.h"

class QCheckBox;
class QGridLayout;
class QGroupBox;
class QVBoxLayout;

namespace ui {
class Messages;
}

namespace settings::pages {

// A check box bound to a flag. Grayed boxes stand for columns every display
// of that type has: shown, never unchecked.
struct FlagBox {
  const char* label;
  Word SettingsValues::*flag;
  bool grayed = false;
  bool setsChanged = true;
};

class SettingsPage : public QWidget {
  Q_OBJECT
 public:
  // The page's tab title.
  virtual QString title() const = 0;
  virtual void load(const SettingsValues& values) = 0;
  // False, with the reason shown, when a value is refused; nothing of the
  // page is saved then.
  virtual bool save(SettingsValues& values) = 0;
  // The display whose columns must be built anew after OK, when the page's
  // changed flag is set.
  virtual std::optional<display::DisplayType> rebuilds() const { return std::nullopt; }
  bool changed() const { return m_changed; }

 protected:
  explicit SettingsPage(QWidget* parent) : QWidget(parent) {}
  void markChanged() { m_changed = true; }

  // A group box with the flags' check boxes in `columns` columns.
  QGroupBox* addFlagGroup(QVBoxLayout* layout, const char* caption, std::span<const FlagBox> boxes,
                          int columns);
  void loadFlags(const SettingsValues& values);
  void saveFlags(SettingsValues& values) const;
  // The note under pages with grayed boxes, and the help line at the bottom.
  void addGrayedNote(QVBoxLayout* layout);
  void addHelp(QVBoxLayout* layout, const char* text);

 private:
  struct Bound {
    QCheckBox* box;
    Word SettingsValues::*flag;
  };
  std::vector<Bound> m_flags;
  bool m_changed = false;
};

// A whole number field's check, with the range message the user knows from
// every numeric field: false (message shown) when out of range.
bool readNumber(const QString& text, std::uint64_t low, std::uint64_t high, ui::Messages& messages,
                Word* out);

}  // namespace settings::pages
