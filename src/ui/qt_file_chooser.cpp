#include "ui/qt_file_chooser.h"

#include <QFileDialog>

namespace ui {

QStringList QtFileChooser::nameFilters(const FileRequest& request) {
  QStringList list;
  for (const FileFilter& f : request.filters) {
    QStringList patterns;
    for (const auto& p : f.patterns) patterns << QString::fromStdString(p);
    list << QStringLiteral("%1 (%2)").arg(QString::fromStdString(f.name), patterns.join(' '));
  }
  return list;
}

std::optional<std::string> QtFileChooser::open(const FileRequest& request) {
  auto choice = run(request, false);
  if (!choice) return std::nullopt;
  return std::move(choice->path);
}

std::optional<FileChoice> QtFileChooser::saveChoice(const FileRequest& request) {
  return run(request, true);
}

std::optional<FileChoice> QtFileChooser::run(const FileRequest& request, bool save) {
  QFileDialog dialog(m_owner, QString::fromStdString(request.title),
                     QString::fromStdString(request.initialPath));
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  const QStringList filters = nameFilters(request);
  if (!filters.isEmpty()) {
    dialog.setNameFilters(filters);
    if (request.initialFilter >= 0 && request.initialFilter < filters.size())
      dialog.selectNameFilter(filters[request.initialFilter]);
  }
  if (!request.defaultExtension.empty())
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && request.askBeforeOverwrite));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const int filter = filters.indexOf(dialog.selectedNameFilter());
  return FileChoice{withDefaultExtension(dialog.selectedFiles().front().toStdString(), request),
                    filter >= 0 ? filter : request.initialFilter};
}

}  // namespace ui
