#pragma once
// The end of an import: how many users or groups were added, updated, left
// and failed, and the failures, which can be copied as text.

#include <QDialog>

#include "transfer/import/import_engine.h"

class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace transfer {

class ImportSummaryDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ImportSummaryDialog(const ImportSummary& summary, QWidget* parent = nullptr);

  QString countsText() const;
  QString failuresText() const;
  // Puts the counts and the failures on the clipboard as plain text.
  void copyToClipboard() const;

 private:
  QLabel* m_counts = nullptr;
  QPlainTextEdit* m_failures = nullptr;
};

}  // namespace transfer
