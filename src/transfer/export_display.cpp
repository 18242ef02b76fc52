#include "transfer/export_display.h"

#include <QCursor>
#include <QGuiApplication>

#include "display/display_views.h"
#include "eventlog/event_report.h"
#include "resources/strings.h"
#include "transfer/database_export.h"
#include "transfer/text_export.h"
#include "ui/file_chooser.h"
#include "ui/messages.h"

namespace transfer {
namespace {

using display::DisplayType;

// The wait cursor for the length of a scope, restored on every way out.
class WaitCursor {
 public:
  // Only a GUI application has a cursor: the unattended run has none.
  WaitCursor() : m_shown(qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
    if (m_shown) QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
  }
  ~WaitCursor() {
    if (m_shown) QGuiApplication::restoreOverrideCursor();
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  bool m_shown;
};

void showFailure(display::DisplayViews& host, const ExportResult& result, const std::string& path) {
  const std::string caption = res::programTitle();
  switch (result.error) {
    case ExportError::None:
      break;
    case ExportError::NotSupported:
      host.messages().ok(std::string(kNotSupportedText), caption);
      break;
    case ExportError::CannotCreateFile:
    case ExportError::WriteFailed:
      host.messages().ok(std::string(kOpenFailedText), caption);
      // The first text only guesses; the name and the system's own reason
      // tell the user what to change.
      host.messages().ok(result.detail.empty() ? path : path + "\n" + result.detail, caption);
      break;
    case ExportError::DatabaseFailed:
      host.messages().ok(result.detail, caption);
      break;
  }
}

// The folder part of a chosen path ("" for a bare name).
std::string folderOf(const std::string& path) {
  const auto slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash == 0 ? 1 : slash);
}

// The event of a failed unattended export: recorded whatever the logging
// switch says, and a failure to record it is ignored.
void reportAutomaticFailure() {
  eventlog::reportEvent(eventlog::autoExportFailedText(), eventlog::kEventAutoExportFailed);
}

}  // namespace

ExportResult exportDisplay(const ExportSource& source, const std::string& path,
                           ExportFormat format) {
  if (format == ExportFormat::Database) {
    // A display shown as a tree alone has no rows for a table.
    if (!source.list)
      return {ExportError::NotSupported, {}};
    return writeDatabase(*source.list, path, exportTableName(source.displayType));
  }
  if (source.tree) return writeTreeText(*source.tree, path);
  if (source.list) return writeListText(*source.list, path, separatorOf(format), quotingOf(format));
  return {ExportError::NotSupported, {}};
}

ExportResult exportDisplay(const ExportSource& source, const std::string& path, long exportType) {
  return exportDisplay(source, path, formatOfExportType(exportType));
}

std::optional<ExportCommandResult> exportCommand(display::DisplayViews& host,
                                                 ui::FileChooser& chooser,
                                                 settings::RememberedChoices* remembered) {
  const ExportSource source = exportSourceOf(host);
  ui::FileRequest request;
  request.filters = exportFilters();
  request.initialFilter = static_cast<int>(host.settingsValues().x_export_type);
  request.defaultExtension = std::string(kDefaultExtension);
  request.askBeforeOverwrite = true;
  if (remembered) {
    if (remembered->exportFilter) request.initialFilter = static_cast<int>(*remembered->exportFilter);
    request.initialPath = remembered->exportFolder;
  }
  const std::optional<ui::FileChoice> choice = chooser.saveChoice(request);
  if (!choice) return std::nullopt;
  const std::string* path = &choice->path;

  // The filter selected when the user confirmed decides the writer, whatever
  // the name's extension says.
  const ExportFormat format = formatOfFilter(choice->filter + 1);
  ExportResult result;
  {
    WaitCursor wait;
    result = exportDisplay(source, *path, format);
  }
  showFailure(host, result, *path);
  // Only a folder that took the export is offered next time: one that
  // refused it (a read-only or system folder) would only refuse again.
  if (remembered && result.ok()) {
    remembered->exportFolder = folderOf(*path);
    remembered->exportFilter = static_cast<settings::Word>(choice->filter);
  }
  return ExportCommandResult{std::move(result), *path};
}

AutomaticExportOutcome automaticExport(const ExportSource& source, const std::string& path,
                                       long exportType, ui::Messages& messages, bool runFailed) {
  AutomaticExportOutcome outcome;
  if (runFailed && holdsNothing(source)) {
    outcome.written = false;
    return outcome;
  }
  {
    WaitCursor wait;
    outcome.result = exportDisplay(source, path, exportType);
  }
  if (outcome.result.error == ExportError::NotSupported && source.tree) {
    messages.ok(std::string(kNotSupportedText), res::programTitle());
    outcome.closeWindow = false;
  } else if (!outcome.result.ok()) {
    reportAutomaticFailure();
  }
  return outcome;
}

AutomaticExportOutcome automaticExport(display::DisplayViews& host, const std::string& path,
                                       bool runFailed) {
  return automaticExport(exportSourceOf(host), path,
                         static_cast<long>(host.settingsValues().x_export_type), host.messages(),
                         runFailed);
}

}  // namespace transfer
