#pragma once
// The progress of a running import: records done of records total, and
// Cancel, which stops the import before the next record.

#include <QProgressDialog>

#include "transfer/import/import_engine.h"

namespace transfer {

class ImportProgressDialog final : public QProgressDialog, public ImportProgress {
  Q_OBJECT
 public:
  explicit ImportProgressDialog(QWidget* parent = nullptr);

  // Shows the count and lets the window paint and take the Cancel click.
  bool recordsDone(std::size_t done, std::size_t total) override;
};

}  // namespace transfer
