#pragma once
// "Extra server property entries": the five registry entries (below
// HKEY_LOCAL_MACHINE of each server) whose values the Servers display shows,
// kept as `s_xtra1` to `s_xtra5` in the program's key.

#include <QDialog>
#include <array>
#include <string>

class QLineEdit;

namespace ui {
class Messages;
}

namespace settings::pages {

// What the Servers display reads back of an entry: longer ones would be
// written but shown cut, or not at all.
inline constexpr int kExtraEntryChars = 599;

class ExtraEntriesDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ExtraEntriesDialog(ui::Messages& messages, QWidget* parent = nullptr);
  // Writes the five entries; closes whether or not they could be written.
  void accept() override;

  QLineEdit* entryEdit(int index) const { return m_edits[static_cast<std::size_t>(index)]; }

 private:
  ui::Messages& m_messages;
  std::array<QLineEdit*, 5> m_edits{};
};

}  // namespace settings::pages
