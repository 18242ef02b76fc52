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
  // The dialog itself appends the suffix (and asks about overwriting the
  // name it makes), so the suffix follows the filter as the user changes it.
  const auto useSuffixOf = [&dialog, &request](int filter) {
    dialog.setDefaultSuffix(QString::fromStdString(extensionFor(request, filter)));
  };
  useSuffixOf(request.initialFilter);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                   [&filters, &useSuffixOf](const QString& name) {
                     useSuffixOf(static_cast<int>(filters.indexOf(name)));
                   });
  dialog.setOption(QFileDialog::DontConfirmOverwrite, !(save && request.askBeforeOverwrite));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const int selected = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
  const int filter = selected >= 0 ? selected : request.initialFilter;
  return FileChoice{withDefaultExtension(dialog.selectedFiles().front().toStdString(), request, filter),
                    filter};
}

}  // namespace ui
