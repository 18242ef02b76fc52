#pragma once
// The wizard's "Preview changes": what the import would do with each record
// of the loaded file, read-only, with the counts. Nothing has been written
// when it shows.

#include <QDialog>

#include "transfer/import/import_preview.h"

class QLabel;
class QTableView;

namespace transfer {

class ImportPreviewDialog final : public QDialog {
  Q_OBJECT
 public:
  explicit ImportPreviewDialog(ImportPreview preview, QWidget* parent = nullptr);

  QString countsText() const;
  QTableView* list() const { return m_list; }
  // Puts the records' lines and the counts on the clipboard, as the
  // command line's dry run prints them.
  void copyToClipboard() const;

 private:
  ImportPreview m_preview;
  QLabel* m_counts = nullptr;
  QTableView* m_list = nullptr;
};

}  // namespace transfer
