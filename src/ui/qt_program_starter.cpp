#include "ui/qt_program_starter.h"

#include <QDesktopServices>
#include <QString>
#include <QUrl>

namespace ui {

bool QtProgramStarter::openFile(const std::string& localFile) {
  return QDesktopServices::openUrl(QUrl::fromLocalFile(QString::fromStdString(localFile)));
}

}  // namespace ui
