#pragma once
// Exporting a display to a file: the entry points of the window and of the
// unattended run.
//
//   // File > "&Export" (asks for the file, shows the failures):
//   transfer::exportCommand(window, fileChooser);
//
//   // The unattended browse-and-export, when its browse has ended:
//   const auto outcome = transfer::automaticExport(window, exportFile);
//   if (outcome.closeWindow) window.close();
//
//   // No dialog and no message at all (the export writers themselves):
//   const transfer::ExportResult r = transfer::exportDisplay(
//       transfer::exportSourceOf(window), path, settings.x_export_type);
//
// `window` is the main window in its DisplayViews role. The export writes the
// display as shown: a list's visible columns in the view's row order (text),
// every column (database), or a tree's nodes as indented lines.

#include <optional>
#include <string>
#include <string_view>

#include "settings/remembered_choices.h"
#include "transfer/export_format.h"
#include "transfer/export_result.h"
#include "transfer/export_source.h"

namespace display {
class DisplayViews;
}
namespace ui {
class FileChooser;
class Messages;
}

namespace transfer {

// Writes `source` to `path` in `format`. The database format refuses the
// Network display (NotSupported) before anything is written. A text export
// of a display with a tree writes the tree, the separator not applying.
ExportResult exportDisplay(const ExportSource& source, const std::string& path,
                           ExportFormat format);
// The same with the format the setting `x_export_type` names (0 tab, 1 CSV,
// 2 database; any other value tab).
ExportResult exportDisplay(const ExportSource& source, const std::string& path, long exportType);

// File > "&Export": the save dialog (filters "Tab delimited (*.txt)", "CSV
// (*.csv)", "SQLite database (*.db)", opening on filter `x_export_type` + 1,
// default extension "TXT", asking before overwriting), then the export with
// the wait cursor shown. Cancel does nothing; failures are shown through the
// host's messages; success shows nothing. Returns the outcome, nothing when
// the dialog was cancelled.
// With `remembered`, the dialog opens on the folder and filter last used
// there (else the setting's filter), and the user's choice is kept in it.
struct ExportCommandResult : ExportResult {
  std::string path;  // the file the user chose
};
std::optional<ExportCommandResult> exportCommand(display::DisplayViews& host,
                                                 ui::FileChooser& chooser,
                                                 settings::RememberedChoices* remembered = nullptr);

struct AutomaticExportOutcome {
  ExportResult result;
  // False only when the database export refused the Network display: the
  // window then stays open.
  bool closeWindow = true;
  // False when nothing was written (see automaticExport).
  bool written = true;
};

// The unattended run's export to `path` in the format of `x_export_type`.
// A file that cannot be written is reported to the event log (source
// "Veltrane", id 59288, text "BAD command line options:   "), never in a
// message box; the database export of the Network display shows its refusal.
// When the run has already failed (`runFailed`) and the display holds
// nothing, nothing is written: an empty file would pass for an answer of
// "none", and a file already there is left as it was.
AutomaticExportOutcome automaticExport(display::DisplayViews& host, const std::string& path,
                                       bool runFailed = false);
// The same for a source read elsewhere (the unattended run's display
// session), in the format of `exportType`, showing the refusal through
// `messages`.
AutomaticExportOutcome automaticExport(const ExportSource& source, const std::string& path,
                                       long exportType, ui::Messages& messages,
                                       bool runFailed = false);

// The status bar's note after a successful File > Export.
inline std::string exportedNote(std::string_view path) {
  return "Exported to " + std::string(path);
}

// Texts the export shows.
inline constexpr std::string_view kNotSupportedText =
    "Export of this display type is not supported.";
inline constexpr std::string_view kOpenFailedText =
    "An error ocurred while attempting to open file.\nFile already in use?";

}  // namespace transfer
