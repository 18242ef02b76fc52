#pragma once
// The Qt file choosers (QFileDialog).

#include <QPointer>
#include <QWidget>

#include "ui/file_chooser.h"

namespace ui {

class QtFileChooser final : public FileChooser {
 public:
  explicit QtFileChooser(QWidget* owner = nullptr) : m_owner(owner) {}
  void setOwner(QWidget* owner) override { m_owner = owner; }

  std::optional<std::string> open(const FileRequest& request) override;
  std::optional<FileChoice> saveChoice(const FileRequest& request) override;

  // "Text files (*.txt *.tab)" for each filter.
  static QStringList nameFilters(const FileRequest& request);

 private:
  std::optional<FileChoice> run(const FileRequest& request, bool save);
  QPointer<QWidget> m_owner;
};

}  // namespace ui
