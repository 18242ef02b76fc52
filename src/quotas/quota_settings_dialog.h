#pragma once
// The Quota Settings dialog: the size of a quota and the directory it
// watches. Opened with a directory (an edit), the directory is fixed.

#include <QDialog>
#include <cstdint>
#include <string>

class QLineEdit;
class QPushButton;

namespace ui {
class Messages;
}

namespace quotas {

struct QuotaFields {
  std::uint32_t size = 0;  // kB
  std::string directory;
};

class QuotaSettingsDialog final : public QDialog {
  Q_OBJECT
 public:
  QuotaSettingsDialog(QuotaFields fields, ui::Messages& messages, QWidget* parent = nullptr);

  const QuotaFields& fields() const { return m_fields; }

  // The OK step: takes the fields from the widgets and closes the dialog
  // only when they pass their checks.
  void accept() override;

  QLineEdit* sizeEdit() const { return m_size; }
  QLineEdit* directoryEdit() const { return m_directory; }

 private:
  // Moves the fields into the widgets, or (save) back with their checks;
  // false, with the reason shown, when a field is refused.
  bool exchange(bool save);

  QuotaFields m_fields;
  ui::Messages& m_messages;
  QLineEdit* m_size = nullptr;
  QLineEdit* m_directory = nullptr;
  QPushButton* m_browse = nullptr;
};

}  // namespace quotas
