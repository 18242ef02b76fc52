#pragma once
// The outcome of an export, as a value: the export itself shows nothing,
// so the window and the unattended run each report it their own way.

#include <string>

namespace transfer {

enum class ExportError {
  None,
  // The database export of the Network display, or a display with no
  // control to read.
  NotSupported,
  // The file (or its temporary file beside it) could not be created.
  CannotCreateFile,
  // Writing or replacing the file failed after it was created; the file
  // that was there before is left as it was.
  WriteFailed,
  // The database engine refused an operation; detail holds its text.
  DatabaseFailed,
};

struct ExportResult {
  ExportError error = ExportError::None;
  std::string detail;  // the system's or the engine's own words, when any
  bool ok() const { return error == ExportError::None; }
};

}  // namespace transfer
